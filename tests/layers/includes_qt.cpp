// Built against a standard-library layer's own flags, this must not compile:
// Qt is out of that layer's reach.
#include <QObject>
