// Binary values as the cell viewer reads them: bare pictures, the OLE object
// header Access writes with its OLE 1.0 stream around a BMP file or a bare
// DIB, the "Package" wrapper, and damaged or hostile wrappers (truncated,
// lengths that point past the end, flipped bytes), which must come out as
// not recognised, never as a crash or a read past the end. Also the hex
// dump and the size text binary cells show.
#include "sheet/binary_content.h"
#include "sheet/cell_payload.h"
#include "sheet/hex_dump.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

#include <string>

#include "support/ole_bytes.h"

using sheet::BinaryContent;
using Format = sheet::BinaryContent::Format;
using Wrapper = sheet::BinaryContent::Wrapper;

using testsupport::ole1Stream;
using testsupport::oleHeader;
using testsupport::oleObject;
using testsupport::package;

namespace {

const auto le = testsupport::littleEndian;

// A 3 x 2 picture with a distinct colour per pixel, in `format`.
QImage testImage() {
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.setPixel(x, y, qRgb(40 * x, 100 * y, 200));
        }
    }
    return image;
}

// A 1 x 1 GIF: Qt reads GIF but does not write it.
const std::string kGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00"
    "!\xF9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
    "\x00\x02\x02\x44\x01\x00;",
    43);

std::string encoded(const char* format) {
    if (QByteArray(format) == "GIF") {
        return kGif;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    testImage().save(&buffer, format);
    return bytes.toStdString();
}

void verifyTestImage(const std::string& bytes, const char* format) {
    const QImage read =
        QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()), format);
    QVERIFY(!read.isNull());
    QCOMPARE(read.size(), QSize(3, 2));
    QCOMPARE(read.pixel(2, 1), testImage().pixel(2, 1));
}

}  // namespace

class TestBinaryContent : public QObject {
    Q_OBJECT
  private slots:
    void barePicturesAreTakenAsTheyAre_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("expected");
        QTest::newRow("png") << QByteArray("PNG") << int(Format::Png);
        QTest::newRow("jpeg") << QByteArray("JPEG") << int(Format::Jpeg);
        QTest::newRow("gif") << QByteArray("GIF") << int(Format::Gif);
        QTest::newRow("bmp") << QByteArray("BMP") << int(Format::Bmp);
    }
    void barePicturesAreTakenAsTheyAre() {
        QFETCH(QByteArray, format);
        QFETCH(int, expected);
        const std::string bytes = encoded(format.constData());
        QVERIFY(!QImage::fromData(QByteArray::fromStdString(bytes), format.constData()).isNull());
        const BinaryContent content = BinaryContent::read(bytes);
        QCOMPARE(int(content.format), expected);
        QCOMPARE(content.picture, bytes);
        QCOMPARE(int(content.wrapper), int(Wrapper::None));
        QCOMPARE(QByteArray(BinaryContent::formatName(content.format)), format);
    }

    void oleObjectAroundABmpFile() {
        const std::string bmp = encoded("BMP");
        const BinaryContent content =
            BinaryContent::read(oleObject("Bitmap Image", "Paint.Picture", bmp));
        QCOMPARE(int(content.wrapper), int(Wrapper::OleObject));
        QCOMPARE(content.objectName, std::string("Bitmap Image"));
        QCOMPARE(content.className, std::string("Paint.Picture"));
        QCOMPARE(int(content.format), int(Format::Bmp));
        QCOMPARE(content.picture, bmp);
    }

    // Paint's native data is often the DIB alone: it gets the 14-byte file
    // header back, with the pixels' offset past the colour table.
    void oleObjectAroundABareDibGetsAFileHeader() {
        const std::string bmp = encoded("BMP");
        const std::string dib = bmp.substr(14);
        const BinaryContent content =
            BinaryContent::read(oleObject("Bitmap Image", "Paint.Picture", dib));
        QCOMPARE(int(content.format), int(Format::Bmp));
        QCOMPARE(content.picture.size(), bmp.size());
        QCOMPARE(content.picture.substr(0, 2), std::string("BM"));
        QCOMPARE(content.picture.substr(10, 4), bmp.substr(10, 4));  // pixel offset
        verifyTestImage(content.picture, "BMP");
    }

    void paletteDibPixelsStartPastTheColourTable() {
        QImage indexed = testImage().convertToFormat(QImage::Format_Indexed8);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        indexed.save(&buffer, "BMP");
        const std::string bmp = bytes.toStdString();
        const std::string made = BinaryContent::bmpFromDib(bmp.substr(14));
        QCOMPARE(made.substr(10, 4), bmp.substr(10, 4));
        verifyTestImage(made, "BMP");
    }

    void oleObjectWithATopicName() {
        const std::string png = encoded("PNG");
        const std::string bytes = oleHeader("Picture", "PBrush") +
                                  ole1Stream("PBrush", png, "C:\\a very long topic name.png");
        const BinaryContent content = BinaryContent::read(bytes);
        QCOMPARE(int(content.format), int(Format::Png));
        QCOMPARE(content.picture, png);
    }

    void packageCarriesAFileWithItsName() {
        const std::string jpeg = encoded("JPEG");
        const BinaryContent content =
            BinaryContent::read(oleObject("Package", "Package", package("photo.jpg", jpeg)));
        QCOMPARE(int(content.wrapper), int(Wrapper::Package));
        QCOMPARE(content.fileName, std::string("photo.jpg"));
        QCOMPARE(int(content.format), int(Format::Jpeg));
        QCOMPARE(content.picture, jpeg);
    }

    void packagedFileThatIsNoPictureIsNotOne() {
        const BinaryContent content = BinaryContent::read(
            oleObject("Package", "Package", package("notes.txt", "plain words")));
        QCOMPARE(int(content.wrapper), int(Wrapper::Package));
        QCOMPARE(content.fileName, std::string("notes.txt"));
        QCOMPARE(int(content.format), int(Format::None));
        QVERIFY(content.picture.empty());
    }

    void objectsWithoutAPictureAreNotRecognised() {
        const std::string compound =
            std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(500, '\0');
        const BinaryContent document =
            BinaryContent::read(oleObject("Document", "Word.Document.8", compound));
        QCOMPARE(int(document.wrapper), int(Wrapper::OleObject));
        QCOMPARE(document.className, std::string("Word.Document.8"));
        QCOMPARE(int(document.format), int(Format::None));
        const BinaryContent plain = BinaryContent::read("MR2\0 some property bytes");
        QCOMPARE(int(plain.format), int(Format::None));
        QCOMPARE(int(plain.wrapper), int(Wrapper::None));
        QCOMPARE(int(BinaryContent::read("").format), int(Format::None));
    }

    // Every cut of a wrapped picture leaves its native data short: none of
    // them may be read as a picture, and none may read past the end.
    void truncatedWrappersAreNotRecognised() {
        const std::string whole =
            oleObject("Package", "Package", package("photo.png", encoded("PNG")));
        QCOMPARE(int(BinaryContent::read(whole).format), int(Format::Png));
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const std::string cut = whole.substr(0, size);
            QCOMPARE(int(BinaryContent::read(cut).format), int(Format::None));
        }
    }

    void lengthsPastTheEndAreNotRecognised_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("size");
        QTest::addColumn<uint>("value");
        const int header = 20 + 8 + 8;  // "Picture" and "Package" with their zeros
        const int stream = header + 8;
        QTest::newRow("header size") << 2 << 2 << 0xFFFFu;
        QTest::newRow("class name length") << stream << 4 << 0xFFFFFFF0u;
        QTest::newRow("topic length") << stream + 12 << 4 << 0x7FFFFFFFu;
        QTest::newRow("native data size") << stream + 20 << 4 << 0xFFFFFFFFu;
        const int native = stream + 24;
        QTest::newRow("label without end") << native + 2 << 0 << 0u;
        const int file = native + 2 + 10 + 21 + 4;  // label, path, type
        QTest::newRow("temporary path length") << file << 4 << 0xFFFFFF00u;
        QTest::newRow("file size") << file + 4 + 21 << 4 << 0x7FFFFFFFu;
    }
    void lengthsPastTheEndAreNotRecognised() {
        QFETCH(int, offset);
        QFETCH(int, size);
        QFETCH(uint, value);
        std::string bytes = oleObject("Picture", "Package", package("photo.png", encoded("PNG")));
        QCOMPARE(int(BinaryContent::read(bytes).format), int(Format::Png));
        if (size == 0) {
            bytes.resize(std::size_t(offset) + 3);  // the label runs to the end
        } else {
            bytes.replace(std::size_t(offset), std::size_t(size), le(value, size));
        }
        const BinaryContent content = BinaryContent::read(bytes);
        QCOMPARE(int(content.format), int(Format::None));
        QVERIFY(content.picture.empty());
    }

    void namesOutsideTheHeaderAreLeftEmpty() {
        std::string bytes = oleObject("Bitmap Image", "Paint.Picture", encoded("BMP"));
        bytes.replace(12, 2, le(0xFFF0, 2));  // name offset
        bytes.replace(10, 2, le(0xFFFF, 2));  // class name length
        const BinaryContent content = BinaryContent::read(bytes);
        QVERIFY(content.objectName.empty());
        QCOMPARE(content.className, std::string("Paint.Picture"));  // from the stream
        QCOMPARE(int(content.format), int(Format::Bmp));
    }

    void flippedBytesNeverCrash() {
        const std::string whole =
            oleObject("Bitmap Image", "Paint.Picture", encoded("BMP").substr(14));
        int pictures = 0;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            for (const unsigned char flip : {0x01, 0x80, 0xFF}) {
                std::string bytes = whole;
                bytes[i] = char(static_cast<unsigned char>(bytes[i]) ^ flip);
                const BinaryContent content = BinaryContent::read(bytes);
                pictures += content.format != Format::None ? 1 : 0;
                QVERIFY(content.picture.size() <= whole.size() + 14);
            }
        }
        QVERIFY(pictures > 0);  // flips in the pixels still make a picture
    }

    void hostileDibHeadersAreRefused() {
        std::string dib = encoded("BMP").substr(14);
        QVERIFY(!BinaryContent::bmpFromDib(dib).empty());
        std::string colours = dib;
        colours.replace(32, 4, le(0xFFFFFFFF, 4));
        QVERIFY(BinaryContent::bmpFromDib(colours).empty());
        std::string bits = dib;
        bits.replace(14, 2, le(7, 2));
        QVERIFY(BinaryContent::bmpFromDib(bits).empty());
        QVERIFY(BinaryContent::bmpFromDib(dib.substr(0, 30)).empty());
        QVERIFY(BinaryContent::bmpFromDib(dib.substr(0, 40)).empty());  // no pixels
        QVERIFY(BinaryContent::bmpFromDib(le(40, 4)).empty());
    }

    void hexDumpLines() {
        const std::string one = sheet::HexDump::lines("Hello world\n", 64);
        QCOMPARE(QString::fromStdString(one),
                 QStringLiteral("00000000  48 65 6C 6C 6F 20 77 6F  72 6C 64 0A"
                                "              |Hello world.|\n"));
        std::string bytes;
        for (int i = 0; i < 40; ++i) {
            bytes.push_back(char(i * 7));
        }
        const QStringList lines = QString::fromStdString(sheet::HexDump::lines(bytes, 32))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);  // 32 of the 40 bytes
        QVERIFY(lines[1].startsWith(QStringLiteral("00000010  70 77 7E 85")));
        QVERIFY(lines[1].endsWith(QStringLiteral("|pw~.............|")));
        QVERIFY(sheet::HexDump::lines("", 16).empty());
    }

    void binaryCellTextGivesTheSizeInItsUnit_data() {
        QTest::addColumn<qulonglong>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << 0ull << QStringLiteral("(binary, 0 B)");
        QTest::newRow("bytes") << 1023ull << QStringLiteral("(binary, 1023 B)");
        QTest::newRow("one KB") << 1024ull << QStringLiteral("(binary, 1.0 KB)");
        QTest::newRow("KB") << 12595ull << QStringLiteral("(binary, 12.3 KB)");
        QTest::newRow("just under a MB") << 1048575ull << QStringLiteral("(binary, 1.0 MB)");
        QTest::newRow("MB") << 5ull * 1048576 + 524288 << QStringLiteral("(binary, 5.5 MB)");
        QTest::newRow("GB") << (3ull << 30) << QStringLiteral("(binary, 3.0 GB)");
    }
    void binaryCellTextGivesTheSizeInItsUnit() {
        QFETCH(qulonglong, size);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(sheet::binaryCellText(size)), text);
    }
};

QTEST_MAIN(TestBinaryContent)
#include "tst_binary_content.moc"
