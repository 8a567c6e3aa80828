#include "app/widgets/shown_picture.h"

#include "app/artwork.h"
#include "platform/qt/qt_pictures.h"

namespace drapeline::app {

QImage stockImage(platform::StockPicture stock) {
    using platform::StockPicture;
    switch (stock) {
    case StockPicture::NotFound: return picNotFound();
    case StockPicture::HandNotFound: return picHandNotFound();
    case StockPicture::WebNotFound: return picWebNotFound();
    case StockPicture::NoBitmaps: return picNoBitmaps();
    case StockPicture::CanNotLoad: return picCanNotLoad();
    case StockPicture::None: break;
    }
    return {};
}

QImage imageFor(const platform::ShownPicture& shown) {
    if (shown.picture) {
        QImage image = platform::imageOf(shown.picture);
        if (!image.isNull()) return image;
    }
    return stockImage(shown.stock);
}

}  // namespace drapeline::app
