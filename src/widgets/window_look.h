// Small pieces of the windows' look and placement that several windows share.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QDialog;
class QLabel;
class QWidget;

namespace look {

// Runs `then` once, the next time the window is on screen with a frame. A
// window manager frames a window only when it maps it, so a window's outer
// bounds are known from then on, not before; where nothing frames windows,
// `then` does not run.
void AtNextExposure(QWidget* window, std::function<void()> then);
// True while a window is shown and on screen. A window just shown is not, until
// the window manager (where there is one) has framed and mapped it.
bool IsOnScreen(const QWidget* window);
// Runs `then` once, the next time the window is on screen, framed or not.
void WhenOnScreen(QWidget* window, std::function<void()> then);
// Puts the top-left corner of a window's frame at a point; a window already
// there is left alone, so the window manager is not asked again.
void MoveFrame(QWidget* window, const QPoint& topLeft);
// Centres a window on the screen it is on (the desktop's available area), now
// with the frame known so far and again once the window is framed.
void CentreOnScreen(QWidget* window);
// Centres a window over another window (its owner), likewise.
void CentreOver(QWidget* window, const QWidget* owner);
// Runs a dialog modally in front of the window that opened it (not of the
// window it belongs to), so that window stays where the user works; the
// dialog belongs to its own window again afterwards.
int ExecInFrontOf(QDialog* dialog, QWidget* owner);
// Gives a window an outer size (frame included), likewise.
void SetOuterSize(QWidget* window, const QSize& outer);
// Fills the window with a colour of its own; a valid text colour is set too.
void SetColors(QWidget* window, const QColor& background, const QColor& text = QColor());
// A decorative picture ("Image1") at a fixed place, read from a file.
QLabel* AddPicture(QWidget* parent, const QString& file, const QRect& geometry);

}  // namespace look
