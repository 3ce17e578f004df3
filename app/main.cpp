// corvane: reads a weather-station console, shows, logs, publishes and pages its readings.
#include "app/commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

void printUsage()
{
    std::fputs(
        "Usage:\n"
        "  corvane [--simulate] [--seed N]             the desktop program\n"
        "  corvane --headless [--simulate] [--seed N]  the unattended engine, no windows\n"
        "  corvane decode [--units english|metric] [--date YYYY-MM-DD]\n"
        "                                              console bytes on stdin, readings out\n"
        "  corvane expand TEMPLATE [--readings FILE]   a page template expanded on stdout\n"
        "  corvane noaa YYYY-MM|YYYY [--units english|metric] [--interval MINUTES]\n"
        "                                              NOAA climate summary of the month files\n"
        "The program directory is $CORVANE_HOME, or ~/.local/share/corvane.\n",
        stdout);
}

QStringList wordsAfter(int argc, char **argv, int first)
{
    QStringList words;
    for (int i = first; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    return words;
}

} // namespace

int main(int argc, char **argv)
{
    // Files that libraries make for corvane (SQLite's journals, the SSH known_hosts file)
    // are owner-only like its own; pages are made readable by all where they are written.
    ::umask(077);
    if (argc >= 2 && std::strcmp(argv[1], "decode") == 0)
        return runDecode(wordsAfter(argc, argv, 2));
    if (argc >= 2 && std::strcmp(argv[1], "expand") == 0)
        return runExpand(wordsAfter(argc, argv, 2));
    if (argc >= 2 && std::strcmp(argv[1], "noaa") == 0)
        return runNoaa(wordsAfter(argc, argv, 2));

    RunOptions options;
    bool headless = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--headless") {
            headless = true;
        } else if (a == "--simulate") {
            options.simulate = true;
        } else if (a == "--seed" && i + 1 < argc) {
            options.simulatorSeed = quint32(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--help" || a == "-h") {
            printUsage();
            return 0;
        } else if (a.rfind("-platform", 0) == 0 || a.rfind("-style", 0) == 0) {
            ++i; // Qt's own options are left to QApplication
        } else {
            std::fprintf(stderr, "corvane: unknown option %s\n", a.c_str());
            printUsage();
            return 2;
        }
    }
    return headless ? runHeadless(argc, argv, options) : runDesktop(argc, argv, options);
}
