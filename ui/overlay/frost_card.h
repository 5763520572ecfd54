// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;

namespace quelmo {

// The rounded dark card in the middle of a frost window, holding the title
// and the hint one above the other. Its size follows its texts.
class FrostCard : public QWidget {
  public:
    explicit FrostCard(QWidget* parent);

    QLabel* title() const { return title_; }
    QLabel* hint() const { return hint_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* title_;
    QLabel* hint_;
};

} // namespace quelmo
