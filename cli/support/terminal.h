#pragma once

// Standard output as the program finds it: a terminal or not, and how wide.
bool StdoutIsTerminal();
// 0 when standard output is no terminal or does not say.
int TerminalColumns();

enum class ColourChoice { Auto, Always, Never };
// Auto: colour on a terminal, unless NO_COLOR is set to anything; a choice on the command line wins.
bool ColourWanted(ColourChoice choice);

// For the program's lifetime a Windows console shows UTF-8 output as UTF-8; its own code page
// comes back at the end. Nothing to do elsewhere.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned previousCodePage_ = 0;
};
