// Creating quillon's controls by class name, for hosts that pick them at run time.
#pragma once

#include "quillon_global.h"

#include <QStringList>

class QString;
class QWidget;

// The class names quillonCreate() knows ("Quillon1").
QUILLON_EXPORT QStringList quillonClassNames();

// A new control of the named class (compared without regard to case) as a child of
// `parent`, or nullptr for a name the library does not know.
QUILLON_EXPORT QWidget *quillonCreate(const QString &className, QWidget *parent = nullptr);
