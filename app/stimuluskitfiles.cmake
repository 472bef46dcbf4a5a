# Writes the C++ definition of StimulusKit::files from the kit's manifest.
#   cmake -DMANIFEST=<kit>/manifest.txt -DOUTPUT=<file.cpp> -P stimuluskitfiles.cmake
file(STRINGS "${MANIFEST}" lines ENCODING UTF-8)
set(paths "")
foreach(line IN LISTS lines)
    if(line MATCHES "^#" OR line STREQUAL "")
        continue()
    endif()
    string(REGEX REPLACE "\t.*" "" path "${line}")
    string(APPEND paths "    QStringLiteral(\"${path}\"),\n")
endforeach()
if(paths STREQUAL "")
    message(FATAL_ERROR "${MANIFEST} lists no file")
endif()
file(WRITE "${OUTPUT}.new" "// Made from the stimulus kit's manifest when the program is built.\n"
    "#include \"stimuluskit.h\"\n\nconst QStringList StimulusKit::files = {\n${paths}};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
