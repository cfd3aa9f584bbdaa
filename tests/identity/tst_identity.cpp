#include <QtTest>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QtEndian>

#include <optional>

namespace {

constexpr quint16 RtIcon = 3;
constexpr quint16 RtVersion = 16;
constexpr quint16 RtGroupIcon = 14;
constexpr quint16 LangNeutral = 0x0000;
constexpr quint16 LangEnglishUs = 0x0409;

qsizetype align4(qsizetype pos) { return (pos + 3) & ~qsizetype(3); }

bool fits(const QByteArray &data, qsizetype pos, qsizetype size)
{
    return pos >= 0 && size >= 0 && pos <= data.size() && size <= data.size() - pos;
}

quint16 u16(const QByteArray &data, qsizetype pos)
{
    return qFromLittleEndian<quint16>(data.constData() + pos);
}

quint32 u32(const QByteArray &data, qsizetype pos)
{
    return qFromLittleEndian<quint32>(data.constData() + pos);
}

// A NUL-terminated UTF-16 string at pos; `end` receives the position after
// the terminator.
std::optional<QString> utf16z(const QByteArray &data, qsizetype pos, qsizetype limit, qsizetype &end)
{
    QString text;
    for (; pos + 2 <= limit; pos += 2) {
        const quint16 unit = u16(data, pos);
        if (unit == 0) {
            end = pos + 2;
            return text;
        }
        text.append(QChar(unit));
    }
    return std::nullopt;
}

// One entry of a compiled resource file (.res): its numeric type and name
// (a named one keeps its text instead and the number 0), its language and
// its data.
struct Resource {
    quint16 type = 0;
    QString typeName;
    quint16 name = 0;
    QString nameName;
    quint16 language = 0;
    QByteArray data;
};

// A type or name field: 0xFFFF followed by a number, or a UTF-16 string.
bool readId(const QByteArray &file, qsizetype &pos, qsizetype limit, quint16 &number, QString &text)
{
    if (!fits(file, pos, 2) || pos + 2 > limit)
        return false;
    if (u16(file, pos) == 0xFFFF) {
        if (pos + 4 > limit)
            return false;
        number = u16(file, pos + 2);
        pos += 4;
        return true;
    }
    const auto name = utf16z(file, pos, limit, pos);
    if (!name)
        return false;
    text = *name;
    return true;
}

// Every resource of a .res file, in file order, without the empty entry
// that opens the file.
std::optional<QList<Resource>> parseRes(const QByteArray &file)
{
    QList<Resource> resources;
    qsizetype pos = 0;
    bool first = true;
    while (pos < file.size()) {
        if (!fits(file, pos, 8))
            return std::nullopt;
        const quint32 dataSize = u32(file, pos);
        const quint32 headerSize = u32(file, pos + 4);
        const qsizetype headerEnd = pos + qsizetype(headerSize);
        if (headerSize < 32 || !fits(file, pos, headerSize) || !fits(file, headerEnd, dataSize))
            return std::nullopt;

        Resource r;
        qsizetype field = pos + 8;
        if (!readId(file, field, headerEnd, r.type, r.typeName)
            || !readId(file, field, headerEnd, r.name, r.nameName))
            return std::nullopt;
        // DataVersion, MemoryFlags, LanguageId, Version, Characteristics
        // close the header after DWORD alignment.
        if (align4(field) + 16 != headerEnd)
            return std::nullopt;
        r.language = u16(file, headerEnd - 10);
        r.data = file.mid(headerEnd, dataSize);

        const bool empty = dataSize == 0 && r.type == 0 && r.name == 0 && r.typeName.isEmpty();
        if (!(first && empty))
            resources.append(r);
        first = false;
        pos = align4(headerEnd + qsizetype(dataSize));
    }
    return resources;
}

// One block of a version resource: VS_VERSIONINFO, StringFileInfo, a string
// table, String, VarFileInfo or Var.
struct VersionBlock {
    QString key;
    quint16 valueLength = 0; // characters for text, bytes for binary
    quint16 type = 0;        // 1 text, 0 binary
    QByteArray value;
    QList<VersionBlock> children;

    QString text() const
    {
        QString s = QString::fromUtf16(reinterpret_cast<const char16_t *>(value.constData()), value.size() / 2);
        while (s.endsWith(QChar(0)))
            s.chop(1);
        return s;
    }
    QStringList childKeys() const
    {
        QStringList keys;
        for (const VersionBlock &child : children)
            keys.append(child.key);
        return keys;
    }
};

// Offsets are from the start of the resource data, which the .res format
// keeps DWORD-aligned, so alignment within it is alignment in the file.
std::optional<VersionBlock> parseBlock(const QByteArray &data, qsizetype pos, qsizetype limit)
{
    if (!fits(data, pos, 6) || pos + 6 > limit)
        return std::nullopt;
    const quint16 length = u16(data, pos);
    const qsizetype end = pos + length;
    if (length < 6 || end > limit)
        return std::nullopt;

    VersionBlock block;
    block.valueLength = u16(data, pos + 2);
    block.type = u16(data, pos + 4);
    qsizetype at = pos + 6;
    const auto key = utf16z(data, at, end, at);
    if (!key)
        return std::nullopt;
    block.key = *key;
    at = align4(at);
    const qsizetype valueBytes = block.type == 1 ? 2 * qsizetype(block.valueLength) : block.valueLength;
    if (at + valueBytes > end)
        return std::nullopt;
    block.value = data.mid(at, valueBytes);
    at = align4(at + valueBytes);
    while (at < end) {
        const auto child = parseBlock(data, at, end);
        if (!child)
            return std::nullopt;
        block.children.append(*child);
        at = align4(at + u16(data, at));
    }
    return block;
}

const VersionBlock *childNamed(const VersionBlock &parent, const QString &key)
{
    for (const VersionBlock &child : parent.children)
        if (child.key == key)
            return &child;
    return nullptr;
}

} // namespace

// Reads the compiled resources of pyrel.rc (the .res the MinGW resource
// compiler makes of it) and checks, byte by byte, the version information
// and the icon that Windows shows for Pyrel.exe. Compiling the script is the
// build's job; this test only parses the result.
class tst_Identity : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void resourceIsFiled_data();
    void resourceIsFiled();
    void nothingElseIsFiled();

    void versionRootHoldsFixedInfo();
    void fixedFileInfo_data();
    void fixedFileInfo();
    void oneStringTableForEnglishUtf16();
    void stringEntry_data();
    void stringEntry();
    void noOtherStringEntries();
    void oneTranslation();

    void iconGroup_data();
    void iconGroup();
    void iconImageHeader_data();
    void iconImageHeader();
    void iconImageIsTheIconFilesImage();

private:
    const Resource *find(quint16 type, quint16 name) const;
    const VersionBlock *stringTable() const;

    QList<Resource> m_resources;
    VersionBlock m_version;
};

void tst_Identity::initTestCase()
{
    QFile file(QStringLiteral(PYREL_RES_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const auto resources = parseRes(file.readAll());
    QVERIFY2(resources, "the .res file does not parse");
    m_resources = *resources;

    const Resource *version = find(RtVersion, 1);
    QVERIFY2(version, "no version resource 1");
    const auto root = parseBlock(version->data, 0, version->data.size());
    QVERIFY2(root, "the version resource does not parse");
    QCOMPARE(qsizetype(u16(version->data, 0)), version->data.size());
    m_version = *root;
}

const Resource *tst_Identity::find(quint16 type, quint16 name) const
{
    for (const Resource &r : m_resources)
        if (r.type == type && r.typeName.isEmpty() && r.name == name && r.nameName.isEmpty())
            return &r;
    return nullptr;
}

const VersionBlock *tst_Identity::stringTable() const
{
    const VersionBlock *info = childNamed(m_version, QStringLiteral("StringFileInfo"));
    return info ? childNamed(*info, QStringLiteral("040904B0")) : nullptr;
}

void tst_Identity::resourceIsFiled_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("name");
    QTest::addColumn<int>("language");

    QTest::newRow("version information is resource 1 in English (United States)")
        << int(RtVersion) << 1 << int(LangEnglishUs);
    QTest::newRow("icon group is resource 1 in the neutral language")
        << int(RtGroupIcon) << 1 << int(LangNeutral);
    QTest::newRow("icon image is resource 30001 in the neutral language")
        << int(RtIcon) << 30001 << int(LangNeutral);
}

void tst_Identity::resourceIsFiled()
{
    QFETCH(int, type);
    QFETCH(int, name);
    QFETCH(int, language);

    const Resource *r = find(quint16(type), quint16(name));
    QVERIFY(r);
    QCOMPARE(int(r->language), language);
}

void tst_Identity::nothingElseIsFiled()
{
    QStringList filed;
    for (const Resource &r : m_resources) {
        const QString type = r.typeName.isEmpty() ? QString::number(r.type) : r.typeName;
        const QString name = r.nameName.isEmpty() ? QString::number(r.name) : r.nameName;
        filed.append(type + QLatin1Char('/') + name);
    }
    filed.sort();
    QCOMPARE(filed, (QStringList{QStringLiteral("14/1"), QStringLiteral("16/1"), QStringLiteral("3/30001")}));
}

void tst_Identity::versionRootHoldsFixedInfo()
{
    QCOMPARE(m_version.key, QStringLiteral("VS_VERSION_INFO"));
    QCOMPARE(m_version.type, quint16(0));
    QCOMPARE(m_version.valueLength, quint16(52)); // sizeof(VS_FIXEDFILEINFO)
    QCOMPARE(m_version.childKeys(), (QStringList{QStringLiteral("StringFileInfo"), QStringLiteral("VarFileInfo")}));
}

void tst_Identity::fixedFileInfo_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("expected");

    // VS_FIXEDFILEINFO is thirteen DWORDs.
    QTest::newRow("signature marks a fixed file info") << 0 << quint32(0xFEEF04BD);
    QTest::newRow("structure version is 1.0") << 4 << quint32(0x00010000);
    QTest::newRow("file version reads 1.0 in its high half") << 8 << quint32(0x00010000);
    QTest::newRow("file version reads .0.0 in its low half") << 12 << quint32(0);
    QTest::newRow("product version reads 1.0 in its high half") << 16 << quint32(0x00010000);
    QTest::newRow("product version reads .0.0 in its low half") << 20 << quint32(0);
    QTest::newRow("no flag is declared valid") << 24 << quint32(0);
    QTest::newRow("no flag is set") << 28 << quint32(0);
    QTest::newRow("made for 32-bit Windows") << 32 << quint32(0x4);
    QTest::newRow("the file is an application") << 36 << quint32(0x1);
    QTest::newRow("an application has no subtype") << 40 << quint32(0);
    QTest::newRow("no file date, high half") << 44 << quint32(0);
    QTest::newRow("no file date, low half") << 48 << quint32(0);
}

void tst_Identity::fixedFileInfo()
{
    QFETCH(int, offset);
    QFETCH(quint32, expected);

    QCOMPARE(m_version.value.size(), 52);
    QCOMPARE(u32(m_version.value, offset), expected);
}

void tst_Identity::oneStringTableForEnglishUtf16()
{
    const VersionBlock *info = childNamed(m_version, QStringLiteral("StringFileInfo"));
    QVERIFY(info);
    QCOMPARE(info->childKeys(), QStringList{QStringLiteral("040904B0")});
    QVERIFY(stringTable());
}

void tst_Identity::stringEntry_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("first the company, Velmora") << 0 << "CompanyName" << "Velmora";
    QTest::newRow("then the product, Emberline") << 1 << "ProductName" << "Emberline";
    QTest::newRow("then the file version, 1.00") << 2 << "FileVersion" << "1.00";
    QTest::newRow("then the product version, 1.00") << 3 << "ProductVersion" << "1.00";
    QTest::newRow("then the internal name, Pyrel") << 4 << "InternalName" << "Pyrel";
    QTest::newRow("last the original file name, Pyrel.exe") << 5 << "OriginalFilename" << "Pyrel.exe";
}

void tst_Identity::stringEntry()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(QString, value);

    const VersionBlock *table = stringTable();
    QVERIFY(table);
    QVERIFY(index < table->children.size());
    const VersionBlock &entry = table->children.at(index);
    QCOMPARE(entry.key, key);
    QCOMPARE(entry.type, quint16(1));
    QCOMPARE(entry.text(), value);
}

void tst_Identity::noOtherStringEntries()
{
    const VersionBlock *table = stringTable();
    QVERIFY(table);
    QCOMPARE(table->children.size(), 6);
}

void tst_Identity::oneTranslation()
{
    const VersionBlock *var = childNamed(m_version, QStringLiteral("VarFileInfo"));
    QVERIFY(var);
    QCOMPARE(var->childKeys(), QStringList{QStringLiteral("Translation")});
    const VersionBlock &translation = var->children.first();
    QCOMPARE(translation.type, quint16(0));
    QCOMPARE(translation.value.size(), 4); // one language/code page pair
    QCOMPARE(u16(translation.value, 0), quint16(0x0409));
    QCOMPARE(u16(translation.value, 2), quint16(0x04B0));
}

void tst_Identity::iconGroup_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<quint32>("expected");

    // GRPICONDIR (three WORDs), then one 14-byte GRPICONDIRENTRY.
    QTest::newRow("reserved word is zero") << 0 << 2 << quint32(0);
    QTest::newRow("the group holds icons, not cursors") << 2 << 2 << quint32(1);
    QTest::newRow("the group holds one image") << 4 << 2 << quint32(1);
    QTest::newRow("the image is 48 pixels wide") << 6 << 1 << quint32(48);
    QTest::newRow("the image is 48 pixels high") << 7 << 1 << quint32(48);
    QTest::newRow("a 256-entry palette counts as 0 colours") << 8 << 1 << quint32(0);
    QTest::newRow("reserved byte is zero") << 9 << 1 << quint32(0);
    QTest::newRow("one colour plane") << 10 << 2 << quint32(1);
    QTest::newRow("8 bits per pixel") << 12 << 2 << quint32(8);
    QTest::newRow("the image takes 3752 bytes") << 14 << 4 << quint32(3752);
    QTest::newRow("the image is resource 30001") << 18 << 2 << quint32(30001);
}

void tst_Identity::iconGroup()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(quint32, expected);

    const Resource *group = find(RtGroupIcon, 1);
    QVERIFY(group);
    QCOMPARE(group->data.size(), 20);
    const quint32 actual = size == 1 ? quint8(group->data.at(offset))
                         : size == 2 ? u16(group->data, offset)
                                     : u32(group->data, offset);
    QCOMPARE(actual, expected);
}

void tst_Identity::iconImageHeader_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<quint32>("expected");

    QTest::newRow("the image starts with a BITMAPINFOHEADER") << 0 << 4 << quint32(40);
    QTest::newRow("48 pixels wide") << 4 << 4 << quint32(48);
    QTest::newRow("96 rows: the colour bits and the mask, 48 each") << 8 << 4 << quint32(96);
    QTest::newRow("one colour plane") << 12 << 2 << quint32(1);
    QTest::newRow("8 bits per pixel") << 14 << 2 << quint32(8);
    QTest::newRow("uncompressed") << 16 << 4 << quint32(0);
}

void tst_Identity::iconImageHeader()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(quint32, expected);

    const Resource *image = find(RtIcon, 30001);
    QVERIFY(image);
    QCOMPARE(image->data.size(), 3752);
    const quint32 actual = size == 2 ? u16(image->data, offset) : u32(image->data, offset);
    QCOMPARE(actual, expected);
}

void tst_Identity::iconImageIsTheIconFilesImage()
{
    QFile file(QStringLiteral(PYREL_ICO_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray ico = file.readAll();
    QVERIFY(fits(ico, 0, 22));
    QCOMPARE(u16(ico, 4), quint16(1));
    const quint32 size = u32(ico, 14);
    const quint32 offset = u32(ico, 18);
    QVERIFY(fits(ico, offset, size));

    const Resource *image = find(RtIcon, 30001);
    QVERIFY(image);
    QVERIFY(image->data == ico.mid(offset, size));
}

QTEST_APPLESS_MAIN(tst_Identity)
#include "tst_identity.moc"
