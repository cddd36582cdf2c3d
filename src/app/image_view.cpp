#include "app/image_view.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

namespace orvane::app {

ImageView::ImageView(const QImage& image, QWidget* parent) : QWidget(parent), m_image(image) {}

QSize ImageView::sizeHint() const {
    return m_image.size();
}

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

} // namespace orvane::app
