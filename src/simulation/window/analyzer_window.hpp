#pragma once

#include <QWidget>

namespace kavrix {

class TForm4 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);
};

}  // namespace kavrix
