# Run at build time (cmake -P): a text file of the packages as Notepad on Windows XP shows it, with CR LF line ends
# (Notepad shows a file of bare LFs as one line), and without the README's pictures, which the packages do not
# hold. INPUT and OUTPUT come from cmake/packaging.cmake.
file(READ ${INPUT} text)
# A picture is a line of its own ("![caption](docs/screenshot.png)") between blank lines: it goes with one of them.
string(REGEX REPLACE "\n\n!\\[[^\n]*\n" "\n" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUTPUT} "${text}")
