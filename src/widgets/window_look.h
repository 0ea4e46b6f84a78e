// Small pieces of the windows' look and placement that several windows share.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QWidget;

namespace look {

// Centres a window on the screen it is on (the desktop's available area).
void CentreOnScreen(QWidget* window);
// Centres a window over another window (its owner).
void CentreOver(QWidget* window, const QWidget* owner);
// Runs a dialog modally in front of the window that opened it (not of the
// window it belongs to), so that window stays where the user works; the
// dialog belongs to its own window again afterwards.
int ExecInFrontOf(QDialog* dialog, QWidget* owner);
// Fills the window with a colour of its own; a valid text colour is set too.
void SetColors(QWidget* window, const QColor& background, const QColor& text = QColor());
// A decorative picture ("Image1") at a fixed place, read from a file.
QLabel* AddPicture(QWidget* parent, const QString& file, const QRect& geometry);

}  // namespace look
