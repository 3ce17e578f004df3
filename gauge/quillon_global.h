// Symbol visibility for the quillon shared library.
#pragma once

#include <QtCore/qglobal.h>

#if defined(QUILLON_LIBRARY)
#define QUILLON_EXPORT Q_DECL_EXPORT
#else
#define QUILLON_EXPORT Q_DECL_IMPORT
#endif
