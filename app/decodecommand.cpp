// Placeholder until the command lands.
#include "app/commands.h"

#include <cstdio>

int runDecode(const QStringList &)
{
    std::fputs("corvane: this command is not built yet\n", stderr);
    return 3;
}
