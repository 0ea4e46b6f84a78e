// The question shown at start when a run that ended without closing left
// unsaved work behind: "Restore" it or "Discard" it.
#pragma once

#include <QDateTime>
#include <QString>

class QWidget;

namespace recovery {

enum class TAnswer { Restore, Discard, Later };

// Names the document ("new.htm" while untitled) and when its copy was taken.
TAnswer AskRecover(QWidget* parent, const QString& fileName, const QDateTime& savedAt);

}  // namespace recovery
