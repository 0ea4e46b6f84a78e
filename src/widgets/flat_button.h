// The flat push button of every dialog (dxButton1, dxButton2, ...): a caption,
// a click event and a flat look of its own, with visible hover, pressed and
// keyboard-focus states.
#pragma once

#include <QAbstractButton>

class TdxButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit TdxButton(const QString& caption = QString(), QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};
