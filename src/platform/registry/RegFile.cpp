#include "platform/registry/RegFile.h"

#include "platform/app/Error.h"

#include <QFile>
#include <QStringDecoder>

namespace quorvel {
namespace {

const QString hivePrefix = QStringLiteral("HKEY_CURRENT_USER");

bool sameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// "a\b\" and "a\\b" name the same key as "a\b".
QString normalisedPath(const QString& path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

// regedit writes UTF-16LE with a byte-order mark; older tools and hand-made files are UTF-8
// or the Windows ANSI code page, which is what bytes that are not UTF-8 are taken to be.
QString decodeFile(const QByteArray& bytes)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder ansi("Windows-1252");
    if (ansi.isValid())
        return ansi(bytes);
    return QString::fromLatin1(bytes);
}

enum class Format { Version5, Regedit4 };

// The lines of the file as entries: comments and blank lines dropped, a value whose line
// ends in "\" joined with the lines that continue it. Each entry keeps the number of the
// line it starts on.
struct Entry {
    int line;
    QString text;
};

QList<Entry> entriesOf(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    QList<Entry> entries;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        const int number = int(i + 1);
        const bool value = line.startsWith(QLatin1Char('"')) || line.startsWith(QLatin1Char('@'));
        while (value && line.endsWith(QLatin1Char('\\')) && i + 1 < lines.size()) {
            line.chop(1);
            line += lines[++i].trimmed();
        }
        if (value && line.endsWith(QLatin1Char('\\')))
            line.chop(1);
        entries.append({number, line});
    }
    return entries;
}

class Parser {
public:
    explicit Parser(QString fileName) : fileName_(std::move(fileName)) {}

    // The hive's own key comes first; the keys of the file follow, parents before children.
    QList<RegKey> keys{RegKey{}};

    void run(const QString& text)
    {
        const QList<Entry> entries = entriesOf(text);
        if (entries.isEmpty())
            fail(1, headerProblem());
        readHeader(entries.first());
        for (qsizetype i = 1; i < entries.size(); ++i) {
            line_ = entries[i].line;
            const QString& entry = entries[i].text;
            if (entry.startsWith(QLatin1Char('[')))
                readSection(entry);
            else if (entry.startsWith(QLatin1Char('"')) || entry.startsWith(QLatin1Char('@')))
                readValue(entry);
            else
                fail(line_, QStringLiteral("\"%1\" is neither a key, a value nor a comment").arg(entry));
        }
    }

private:
    [[noreturn]] void fail(int line, const QString& what) const
    {
        throw Error(QStringLiteral("%1, line %2: %3").arg(fileName_).arg(line).arg(what));
    }

    static QString headerProblem()
    {
        return QStringLiteral("not a registry file: the first line must be "
                              "\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
    }

    void readHeader(const Entry& first)
    {
        if (first.text == QLatin1String("Windows Registry Editor Version 5.00"))
            format_ = Format::Version5;
        else if (first.text == QLatin1String("REGEDIT4"))
            format_ = Format::Regedit4;
        else
            fail(first.line, headerProblem());
    }

    void readSection(const QString& entry)
    {
        if (!entry.endsWith(QLatin1Char(']')))
            fail(line_, QStringLiteral("the key name lacks its closing \"]\""));
        const QString name = entry.mid(1, entry.size() - 2).trimmed();
        inSection_ = true;
        target_ = nullptr;
        if (name.startsWith(QLatin1Char('-')))
            return; // a deletion: nothing of it is read
        if (sameName(name, hivePrefix)) {
            target_ = &keyFor(QString());
        } else if (name.size() > hivePrefix.size() && name.at(hivePrefix.size()) == QLatin1Char('\\') &&
                   sameName(name.left(hivePrefix.size()), hivePrefix)) {
            target_ = &keyFor(name.mid(hivePrefix.size() + 1));
        }
        // Keys of other hives are read for their syntax and then left out.
    }

    // The key at a path, made with every key above it when the file has not named it yet.
    RegKey& keyFor(const QString& path)
    {
        const QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
        RegKey* found = &keys.first();
        for (qsizetype depth = 1; depth <= parts.size(); ++depth) {
            const QString prefix = parts.first(depth).join(QLatin1Char('\\'));
            found = nullptr;
            for (RegKey& k : keys)
                if (sameName(k.path, prefix))
                    found = &k;
            if (!found) {
                keys.append(RegKey{prefix, {}});
                found = &keys.last();
            }
        }
        return *found;
    }

    void readValue(const QString& entry)
    {
        if (!inSection_)
            fail(line_, QStringLiteral("a value before the first key"));
        qsizetype pos = 0;
        QString name;
        if (entry.startsWith(QLatin1Char('@')))
            pos = 1;
        else
            name = quoted(entry, pos);
        pos = skipSpaces(entry, pos);
        if (pos >= entry.size() || entry.at(pos) != QLatin1Char('='))
            fail(line_, QStringLiteral("the value name must be followed by \"=\""));
        pos = skipSpaces(entry, pos + 1);
        const QString data = entry.mid(pos);

        RegValue value;
        value.name = name;
        if (data.startsWith(QLatin1Char('"'))) {
            qsizetype end = 0;
            value.isString = true;
            value.text = quoted(data, end);
            if (!data.mid(end).trimmed().isEmpty())
                fail(line_, QStringLiteral("unexpected text after the closing quote"));
        } else if (data == QLatin1String("-")) {
            return; // deletions are ignored
        } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            readDword(data.mid(6));
            value.dataSize = 4;
        } else if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            readHex(data, value);
        } else {
            fail(line_, QStringLiteral("unknown data \"%1\"").arg(data));
        }
        store(std::move(value));
    }

    static qsizetype skipSpaces(const QString& text, qsizetype pos)
    {
        while (pos < text.size() && text.at(pos).isSpace())
            ++pos;
        return pos;
    }

    // A quoted text starting at pos, with "\\" and "\"" for a backslash and a quote; pos
    // moves past the closing quote.
    QString quoted(const QString& text, qsizetype& pos) const
    {
        QString result;
        for (qsizetype i = pos + 1; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('"')) {
                pos = i + 1;
                return result;
            }
            if (c == QLatin1Char('\\')) {
                if (i + 1 >= text.size())
                    break;
                const QChar escaped = text.at(++i);
                if (escaped != QLatin1Char('\\') && escaped != QLatin1Char('"'))
                    fail(line_, QStringLiteral("unknown escape \"\\%1\" (write \"\\\\\" for a backslash)")
                                    .arg(escaped));
                result += escaped;
            } else {
                result += c;
            }
        }
        fail(line_, QStringLiteral("the closing quote is missing"));
    }

    void readDword(const QString& digits) const
    {
        bool ok = false;
        digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8 || digits.startsWith(QLatin1Char('+')) ||
            digits.startsWith(QLatin1Char('-')))
            fail(line_, QStringLiteral("\"%1\" is not a dword of 1 to 8 hexadecimal digits").arg(digits));
    }

    // "hex:" is binary data, "hex(n):" data of registry type n; only type 1 (REG_SZ) is text.
    void readHex(const QString& data, RegValue& value) const
    {
        qsizetype pos = 3;
        int type = 3;
        if (pos < data.size() && data.at(pos) == QLatin1Char('(')) {
            const qsizetype close = data.indexOf(QLatin1Char(')'), pos);
            bool ok = false;
            type = close < 0 ? 0 : data.mid(pos + 1, close - pos - 1).toInt(&ok, 16);
            if (!ok)
                fail(line_, QStringLiteral("unknown data \"%1\"").arg(data));
            pos = close + 1;
        }
        if (pos >= data.size() || data.at(pos) != QLatin1Char(':'))
            fail(line_, QStringLiteral("unknown data \"%1\"").arg(data));
        QByteArray bytes;
        const QString list = data.mid(pos + 1).trimmed();
        if (!list.isEmpty()) {
            for (const QString& item : list.split(QLatin1Char(','))) {
                const QString digits = item.trimmed();
                bool ok = false;
                const uint byte = digits.toUInt(&ok, 16);
                if (!ok || digits.size() > 2 || digits.startsWith(QLatin1Char('+')))
                    fail(line_, QStringLiteral("\"%1\" is not a hexadecimal byte").arg(digits));
                bytes.append(char(byte));
            }
        }
        value.dataSize = bytes.size();
        if (type == 1) {
            value.isString = true;
            value.text = hexText(bytes);
        }
    }

    // The text of REG_SZ data written as bytes: UTF-16LE in version 5 files, ANSI in
    // REGEDIT4 ones; it ends at the first terminating zero.
    QString hexText(const QByteArray& bytes) const
    {
        QString text;
        if (format_ == Format::Version5) {
            QStringDecoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom);
            text = utf16(bytes);
        } else {
            QStringDecoder ansi("Windows-1252");
            text = ansi.isValid() ? QString(ansi(bytes)) : QString::fromLatin1(bytes);
        }
        const qsizetype zero = text.indexOf(QChar(0));
        return zero < 0 ? text : text.left(zero);
    }

    void store(RegValue value)
    {
        if (!target_)
            return;
        for (RegValue& existing : target_->values) {
            if (sameName(existing.name, value.name)) {
                // Setting a value again keeps its place, as the registry does.
                value.name = existing.name;
                existing = std::move(value);
                return;
            }
        }
        target_->values.append(std::move(value));
    }

    QString fileName_;
    Format format_ = Format::Version5;
    int line_ = 1;
    bool inSection_ = false;
    RegKey* target_ = nullptr; // null under a deletion or a key of another hive
};

} // namespace

const RegValue* RegKey::value(const QString& name) const
{
    for (const RegValue& v : values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

RegFile RegFile::parse(const QByteArray& bytes, const QString& fileName)
{
    Parser parser(fileName);
    parser.run(decodeFile(bytes));
    RegFile file;
    file.keys_ = std::move(parser.keys);
    return file;
}

RegFile RegFile::load(const QString& fileName)
{
    QFile input(fileName);
    if (!input.exists())
        return RegFile();
    if (!input.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: the file cannot be read (%2)").arg(fileName, input.errorString()));
    return parse(input.readAll(), fileName);
}

const RegKey* RegFile::key(const QString& path) const
{
    const QString wanted = normalisedPath(path);
    for (const RegKey& k : keys_)
        if (sameName(k.path, wanted))
            return &k;
    return nullptr;
}

} // namespace quorvel
