#pragma once

#include <QWidget>

class QImage;

namespace orvane::app {

// The spectrum image control: shows the canvas's picture at its own size.
class ImageView : public QWidget {
    Q_OBJECT

public:
    explicit ImageView(const QImage& image, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& m_image;
};

} // namespace orvane::app
