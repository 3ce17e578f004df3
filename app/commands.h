// The entry points of corvane's modes; main() picks one from the command line.
#pragma once

#include <QStringList>

struct RunOptions
{
    bool simulate = false;     // feed the station port from the built-in simulated console
    quint32 simulatorSeed = 1; // --seed N: the simulated weather for a given seed is repeatable
};

// `corvane decode [--units english|metric] [--date YYYY-MM-DD]`: console bytes on standard
// input, `Field=Text` lines out. `args` are the words after "decode".
int runDecode(const QStringList &args);
// `corvane expand TEMPLATE [--readings FILE]`: the template expanded on standard output.
int runExpand(const QStringList &args);
// `corvane noaa YYYY-MM|YYYY`: the NOAA climate summary of the month files.
int runNoaa(const QStringList &args);
// `corvane --headless`: acquisition and the unattended engine, no windows.
int runHeadless(int &argc, char **argv, const RunOptions &options);
// `corvane`: the desktop program.
int runDesktop(int &argc, char **argv, const RunOptions &options);
