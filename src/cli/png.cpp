#include "cli/png.hpp"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <memory>

namespace tesmara::cli {

namespace {

QColor colour(check::Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Text needs a font database, which only exists with an application object.
std::unique_ptr<QGuiApplication> ensureApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return nullptr;
    }
    static int argc = 3;
    static char name[] = "tesmara-cli";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// The swept band as wide as the tool, the side view's width filled, moves as lines.
void paintStroke(QPainter& painter, const check::Stroke& s) {
    QPolygonF points;
    for (std::size_t i = 0; i + 1 < s.xy.size(); i += 2) {
        points << QPointF(s.xy[i], s.xy[i + 1]);
    }
    if (s.filled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour(s.colour));
        painter.drawPolygon(points);
        painter.setBrush(Qt::NoBrush);
        return;
    }
    QPen pen(colour(s.colour));
    pen.setStyle(s.dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setWidthF(s.band > 0.0 ? s.band : (s.wide ? 2.0 : 1.0));
    if (s.band > 0.0) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    painter.setPen(pen);
    painter.drawPolyline(points);
}

}  // namespace

bool pngSupported() {
    return true;
}

std::string renderPng(const check::PlotScene& scene) {
    const auto app = ensureApplication();
    QImage image(static_cast<int>(scene.width), static_cast<int>(scene.height),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xdd, 0xdd, 0xdd));
    for (const check::View& v : scene.views) {
        painter.drawRect(QRectF(v.left, v.top, v.width, v.height));
    }
    for (const check::Stroke& s : scene.strokes) {
        paintStroke(painter, s);
    }
    painter.setPen(Qt::black);
    for (const check::TextLabel& l : scene.labels) {
        painter.drawText(QPointF(l.x, l.y), QString::fromStdString(l.text));
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return {};
    }
    return bytes.toStdString();
}

}  // namespace tesmara::cli
