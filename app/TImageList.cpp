#include "app/TImageList.h"

#include <QVariant>

// The images live in a static library, whose resources are not registered on their own.
static void registerImages() {
    Q_INIT_RESOURCE(Unit1);
}

namespace {
constexpr const char* kImageIndex = "ImageIndex";
}  // namespace

TImageList::TImageList() {
    registerImages();
    for (const char* name : {"connect-idle", "connect-on", "disconnect-on", "disconnect-idle",
                             "properties", "write-all"})
        icons_.emplace_back(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(name)));
}

int TImageList::imageIndex(const QToolButton* button) {
    const QVariant index = button->property(kImageIndex);
    return index.isValid() ? index.toInt() : -1;
}

void TImageList::setImageIndex(QToolButton* button, int index) const {
    button->setProperty(kImageIndex, index);
    button->setIcon(icon(index));
}
