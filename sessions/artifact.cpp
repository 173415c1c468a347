#include "sessions/artifact.h"

#include <QImage>
#include <QString>
#include <filesystem>

namespace sessions {

std::string artifactPath(const std::string& fileName) {
    const std::filesystem::path dir(GULPO_ARTIFACT_DIR);
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    return (dir / fileName).string();
}

Screenshot crop(const Screenshot& shot, int left, int top, int width, int height) {
    Screenshot part;
    part.width = width;
    part.height = height;
    part.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            part.pixels.push_back(shot.at(x, y));
        }
    }
    return part;
}

bool savePng(const Screenshot& shot, const std::string& path) {
    if (shot.empty()) {
        return false;
    }
    QImage image(shot.width, shot.height, QImage::Format_RGB32);
    for (int y = 0; y < shot.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < shot.width; ++x) {
            line[x] = 0xFF000000u | shot.at(x, y);
        }
    }
    return image.save(QString::fromStdString(path), "PNG");
}

Screenshot loadPng(const std::string& path) {
    Screenshot shot;
    const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        return shot;
    }
    shot.width = image.width();
    shot.height = image.height();
    shot.pixels.reserve(static_cast<std::size_t>(shot.width) *
                        static_cast<std::size_t>(shot.height));
    for (int y = 0; y < shot.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < shot.width; ++x) {
            shot.pixels.push_back(line[x] & 0xFFFFFFu);
        }
    }
    return shot;
}

}  // namespace sessions
