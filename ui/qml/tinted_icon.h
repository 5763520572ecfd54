// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QUrl>

namespace quelmo {

// A one-colour SVG symbol painted in a colour of our choosing or with the
// brand gradient (left to right across the symbol), the way the guide shows
// its symbols. The SVG's shape gives the coverage; its own colours are ignored.
class TintedIcon : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(bool brand READ brand WRITE setBrand NOTIFY brandChanged)

  public:
    explicit TintedIcon(QQuickItem* parent = nullptr);

    QUrl source() const { return source_; }
    void setSource(const QUrl& source);
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    bool brand() const { return brand_; }
    void setBrand(bool brand);

    void paint(QPainter* painter) override;

  signals:
    void sourceChanged();
    void colorChanged();
    void brandChanged();

  private:
    QUrl source_;
    QColor color_{Qt::black};
    bool brand_ = false;
};

} // namespace quelmo
