#pragma once

// Standard output as the program finds it: a terminal or not, and how wide.
bool StdoutIsTerminal();
// 0 when standard output is no terminal or does not say.
int TerminalColumns();

enum class ColourChoice { Auto, Always, Never };
// Auto: colour on a terminal, unless NO_COLOR is set to anything; a choice on the command line wins.
bool ColourWanted(ColourChoice choice);
