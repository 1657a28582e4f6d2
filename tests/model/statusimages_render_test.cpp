#include "model/kvstatusimages.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

// The built-in images are SVG resources: they must load through the SVG image plugin
// that the install step brings, or the tree would show no icons at all.
TEST(StatusImages, EveryBuiltInImageRendersAt16Pixels)
{
    Q_INIT_RESOURCE(icons);
    ASSERT_TRUE(QImageReader::supportedImageFormats().contains("svg"))
        << "the Qt SVG image plugin (libqt6svg6) is missing";
    for (int i = 0; i <= 17; ++i) {
        const QString path = KvStatusImages::BuiltInImage(i);
        SCOPED_TRACE(path.toStdString());
        ASSERT_FALSE(path.isEmpty());
        QImageReader reader(path);
        reader.setScaledSize(QSize(16, 16));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(16, 16));
        bool painted = false;
        for (int y = 0; y < 16 && !painted; ++y)
            for (int x = 0; x < 16 && !painted; ++x)
                painted = qAlpha(image.pixel(x, y)) > 0;
        EXPECT_TRUE(painted) << "an empty image";
    }
    EXPECT_TRUE(KvStatusImages::BuiltInImage(18).isEmpty());
}
