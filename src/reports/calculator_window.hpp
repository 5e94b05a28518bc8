#pragma once

#include <QWidget>

namespace kavrix {

class TForm6 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);
};

}  // namespace kavrix
