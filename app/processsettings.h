#ifndef PROCESSSETTINGS_H
#define PROCESSSETTINGS_H

// Settings of the whole process that must be made before the QApplication is
// constructed. The program's main() applies them, and so does every other
// program that measures the main window as the examiner runs it.
class ProcessSettings
{
public:
    static void apply();
};

#endif // PROCESSSETTINGS_H
