#include "app/widgets/artwork.h"
#include "support/data_rows.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

using td::PictureButton;
using td::test::dataRow;

namespace {

QSet<QRgb> colours(const QImage& image)
{
    QSet<QRgb> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            found.insert(image.pixel(x, y));
    return found;
}

int countPixels(const QImage& image, const QRect& area, auto test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

QImage buttonImage(PictureButton which, bool pressed)
{
    return td::drawPictureButton(which, pressed).convertToFormat(QImage::Format_RGB32);
}

QImage opaque(const QPixmap& picture) { return picture.toImage().convertToFormat(QImage::Format_RGB32); }

// Translates one picture button's caption, as a translation of the program would.
class CaptionTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* text, const char*, int) const override
    {
        return qstrcmp(context, "td::PictureButton") == 0 && qstrcmp(text, "Delete") == 0
                   ? QStringLiteral("Löschen")
                   : QString();
    }
    bool isEmpty() const override { return false; }
};

constexpr PictureButton allButtons[] = {PictureButton::New, PictureButton::Edit, PictureButton::Delete,
                                        PictureButton::Search, PictureButton::Amortise};

}  // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void pictureButton_data()
    {
        QTest::addColumn<PictureButton>("which");
        dataRow("New", PictureButton::New);
        dataRow("Edit", PictureButton::Edit);
        dataRow("Delete", PictureButton::Delete);
        dataRow("Search", PictureButton::Search);
        dataRow("Amortise", PictureButton::Amortise);
    }

    void pictureButton()
    {
        QFETCH(PictureButton, which);
        const QImage up = buttonImage(which, false);
        const QImage down = buttonImage(which, true);
        QCOMPARE(up.size(), QSize(66, 65));
        QCOMPARE(down.size(), QSize(66, 65));
        QVERIFY(up != down);
        QVERIFY(colours(up).size() >= 12);

        // Raised: lit top left, dark bottom right; pressed: the other way round.
        QVERIFY(qGray(up.pixel(0, 0)) > qGray(up.pixel(65, 64)));
        QVERIFY(qGray(up.pixel(1, 30)) > qGray(up.pixel(64, 30)));
        QVERIFY(qGray(down.pixel(1, 30)) < qGray(down.pixel(64, 30)));
        QVERIFY(qGray(down.pixel(30, 64)) > qGray(down.pixel(30, 1)));

        // Pressed moves the whole picture one pixel right and down.
        const QRect inner(3, 3, 59, 58);
        QCOMPARE(down.copy(inner.translated(1, 1)), up.copy(inner));

        // The caption is there, below the icon, and clear of the side edges.
        const auto dark = [](QRgb c) { return qGray(c) < 90; };
        QVERIFY(countPixels(up, QRect(4, 44, 58, 15), dark) > 15);
        QCOMPARE(countPixels(up, QRect(2, 42, 2, 20), dark), 0);
        QCOMPARE(countPixels(up, QRect(62, 42, 2, 20), dark), 0);
    }

    void pictureButtonsDifferFromEachOther()
    {
        for (PictureButton a : allButtons)
            for (PictureButton b : allButtons)
                if (a != b)
                    QVERIFY(buttonImage(a, false) != buttonImage(b, false));
    }

    void logoIsWhiteTextOnDarkTexture()
    {
        const QImage logo = td::drawLogoBanner().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(logo.size(), QSize(241, 65));
        const auto white = [](QRgb c) { return qGray(c) > 235; };
        const auto darkish = [](QRgb c) { return qGray(c) < 70; };
        QVERIFY(countPixels(logo, QRect(10, 4, 221, 36), white) > 300);
        QVERIFY(countPixels(logo, QRect(10, 43, 221, 18), white) > 100);
        QVERIFY(countPixels(logo, logo.rect(), darkish) > logo.width() * logo.height() * 3 / 4);
        for (const QPoint corner : {QPoint(0, 0), QPoint(240, 0), QPoint(0, 64), QPoint(240, 64)})
            QVERIFY(darkish(logo.pixel(corner)));
        // The texture is a texture, and the same on every run.
        QVERIFY(colours(logo.copy(0, 0, 12, 65)).size() > 20);
        QCOMPARE(td::drawLogoBanner().convertToFormat(QImage::Format_RGB32), logo);
    }

    // The pictures the build drew are in the resources and are what the
    // drawing makes here; a caption translated since is drawn afresh.
    void builtPicturesAreTheDrawnOnes()
    {
        const QList<td::BuiltPicture> drawn = td::drawBuiltPictures();
        QCOMPARE(drawn.size(), 11);
        for (const td::BuiltPicture& picture : drawn) {
            const QImage built(QStringLiteral(":/artwork/") + picture.fileName);
            QVERIFY2(!built.isNull(), qPrintable(picture.fileName));
            QCOMPARE(built.convertToFormat(QImage::Format_RGB32),
                     picture.image.convertToFormat(QImage::Format_RGB32));
        }
        QCOMPARE(opaque(td::logoBanner()), td::drawLogoBanner().convertToFormat(QImage::Format_RGB32));
        QCOMPARE(opaque(td::pictureButtonImage(PictureButton::Search, true)),
                 buttonImage(PictureButton::Search, true));

        CaptionTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        const QImage translated = opaque(td::pictureButtonImage(PictureButton::Delete, false));
        QCoreApplication::removeTranslator(&translator);
        QVERIFY(translated != buttonImage(PictureButton::Delete, false));
    }

    void smallProgramIconKeepsToVgaColours_data()
    {
        QTest::addColumn<int>("size");
        dataRow("16", 16);
        dataRow("32", 32);
    }

    void smallProgramIconKeepsToVgaColours()
    {
        QFETCH(int, size);
        const QImage icon = size == 32 ? td::programIcon32().toImage() : td::programIconImage(size);
        QCOMPARE(icon.size(), QSize(size, size));
        const QSet<QRgb> vga = {0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080,
                                0xff008080, 0xffc0c0c0, 0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00,
                                0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};
        int opaque = 0;
        for (QRgb c : colours(icon.convertToFormat(QImage::Format_ARGB32))) {
            if (qAlpha(c) == 0)
                continue;
            QVERIFY2(vga.contains(c), qPrintable(QString::number(c, 16)));
            ++opaque;
        }
        QVERIFY(opaque >= 5);
        QCOMPARE(qAlpha(icon.pixel(0, size - 1)), 0);
    }

    void programIconHasEveryWindowSize()
    {
        const QIcon icon = td::programIcon();
        for (int size : {16, 32, 48, 64, 128}) {
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
            QCOMPARE(icon.pixmap(QSize(size, size)).size(), QSize(size, size));
        }
    }

    void savesIconPng()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("termdeposit.png"));
        QVERIFY(td::saveProgramIconPng(path, 48));
        QCOMPARE(QImage(path).size(), QSize(48, 48));
        QVERIFY(!td::saveProgramIconPng(dir.filePath(QStringLiteral("missing/icon.png")), 48));
        QVERIFY(!td::saveProgramIconPng(dir.filePath(QStringLiteral("empty.png")), 0));
    }
};

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
