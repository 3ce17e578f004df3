// Placeholder until the mode lands.
#include "app/commands.h"

#include <cstdio>

int runDesktop(int &, char **, const RunOptions &)
{
    std::fputs("corvane: this mode is not built yet\n", stderr);
    return 3;
}
