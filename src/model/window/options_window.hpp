#pragma once

#include <QWidget>

namespace kavrix {

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
};

}  // namespace kavrix
