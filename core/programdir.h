// Where corvane keeps its configuration, month databases and working files.
#pragma once

#include <QString>

// $CORVANE_HOME when set, otherwise the per-user data folder; created when missing, owner
// only (0700), as are the folders above it that it has to make.
QString programDirectory();

// A file of the program directory, joined properly: programFile("Corvane.cfg").
QString programFile(const QString &name);
