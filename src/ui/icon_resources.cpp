#include "ui/icon_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
void zelmotInitIconResources() { Q_INIT_RESOURCE(icons); }
