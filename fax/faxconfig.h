// "FaxConfig.cfg": the fax device chosen in the device window, as one line holding its index.
#pragma once

#include "fax/faxdevice.h"

#include <QString>
#include <optional>

// The file inside `programDir`, joined with a separator.
QString faxConfigPath(const QString &programDir);

// The stored index; std::nullopt when there is no file. An empty or unreadable value reads
// as 0, the first value on the line counts.
std::optional<int> readFaxConfig(const QString &programDir);

// Replaces the file with `index` and CR LF, or an empty line when no device is chosen.
FaxResult writeFaxConfig(const QString &programDir, std::optional<int> index);
