#pragma once

#include <QWidget>

namespace kavrix {

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);
};

}  // namespace kavrix
