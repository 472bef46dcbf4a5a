#ifndef KITLAYOUT_H
#define KITLAYOUT_H

// Sizes of the pictures whose size the program's screen layout depends on.
// The test window places its toolbar strip at the bottom of the play area and
// centres the buttons and indicators vertically on it; the example button sits
// 10 px from the left, the test button after it and the next button after
// three test-button widths, the indicators 10 px from the strip's right end.
namespace KitLayout {

// Toolbar strip: wide enough to span a full-HD screen; low enough that a
// 640 px picture centred on a 768 px high screen stays clear of it.
constexpr int ToolbarWidth = 1920;
constexpr int ToolbarHeight = 64;
constexpr int ButtonWidth = 150;
constexpr int ButtonHeight = 48;
constexpr int IndicatorSize = 48;

// Abort dialog: background and the column of three buttons at x 38, y 17/61/105.
constexpr int AbortWidth = 338;
constexpr int AbortHeight = 163;
constexpr int AbortButtonWidth = 262;
constexpr int AbortButtonHeight = 40;

// Animated friends at the left of the play area.
constexpr int FriendsWidth = 240;
constexpr int FriendsHeight = 240;

// The martian and its speech bubble; the word is drawn centred on
// (bubble x + 140, bubble y + 50) in a 24-point font.
constexpr int MartianWidth = 200;
constexpr int MartianHeight = 260;
constexpr int BubbleWidth = 280;
constexpr int BubbleHeight = 125;
constexpr int BubbleWordX = 140;
constexpr int BubbleWordY = 50;

// Reading comprehension: story page and question pages share one size; the
// three answer lines of a question page lie at x 130, y 493/528/565, 320 x 35.
constexpr int ComprehensionWidth = 760;
constexpr int ComprehensionHeight = 620;
constexpr int AnswerX = 130;
constexpr int AnswerY[3] = {493, 528, 565};
constexpr int AnswerWidth = 320;
constexpr int AnswerHeight = 35;
// Where the question panel begins; above it a question page is transparent, so
// the story stays readable while the child answers.
constexpr int QuestionPanelTop = 400;

// Text reading page.
constexpr int ReadingWidth = 1100;
constexpr int ReadingHeight = 620;

// Sentence reading: the sentence card at the top, three options in a row.
constexpr int SentenceWidth = 1000;
constexpr int SentenceHeight = 150;
constexpr int OptionWidth = 280;
constexpr int OptionHeight = 220;

// Letters of the grapheme test.
constexpr int LetterSize = 300;

// Drum and drumsticks: each pair of sticks is centred on one edge of the drum
// and reaches 20 px below its top.
constexpr int DrumWidth = 300;
constexpr int DrumHeight = 260;
constexpr int StickWidth = 160;
constexpr int StickHeight = 200;

// The background colour of the play area, used around animation frames.
constexpr int PlayAreaGrey = 190;

} // namespace KitLayout

#endif // KITLAYOUT_H
