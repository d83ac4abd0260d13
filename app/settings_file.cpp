#include "settings_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

#include <QDir>
#include <QStandardPaths>

namespace app {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r';
}

QByteArray trimBytes(const QByteArray& bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(bytes[end - 1])) {
        --end;
    }
    return bytes.mid(begin, end - begin);
}

QString trimText(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin);
}

// The first maxChars characters (code points, so a pair of surrogates is
// never split) of text.
QString firstCharacters(const QString& text, int maxChars) {
    qsizetype pos = 0;
    for (int count = 0; count < maxChars && pos < text.size(); ++count) {
        const bool pair =
            text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate();
        pos += pair ? 2 : 1;
    }
    return text.left(pos);
}

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// One line of the file as raw bytes, so that lines the writer does not touch
// go back exactly as they came, whatever their encoding.
struct Line {
    QByteArray content;
    QByteArray ending;  // "\n", "\r\n" or empty for a last line without one
};

// The file split into lines, with the rules for finding sections and keys.
class IniText {
  public:
    explicit IniText(QByteArray text);
    QByteArray toBytes() const;

    // Index of the header line of the first section named name, or -1.
    qsizetype findSection(const QString& name) const;
    // Index one past the last line of the section whose header is at header.
    qsizetype sectionEnd(qsizetype header) const;
    // Index of the first line in [from, to) that holds key, or -1.
    qsizetype findKey(qsizetype from, qsizetype to, const QString& key) const;

    QString valueAt(qsizetype index) const;
    const QByteArray& lineContent(qsizetype index) const { return lines_[index].content; }
    void replaceValue(qsizetype index, const QString& value);
    void addKey(qsizetype sectionHeader, const QString& key, const QString& value);
    void addSection(const QString& section, const QString& key, const QString& value);
    // Every key line of the section whose header is at `header`, in order.
    std::vector<qsizetype> keyLines(qsizetype header) const;
    // Removes the key lines of that section and puts `entries` in their place.
    void replaceKeys(qsizetype header, const SettingsEntries& entries);

    static std::optional<QString> sectionName(const QByteArray& content);
    static std::optional<QString> keyName(const QByteArray& content);

  private:
    void insertLine(qsizetype index, const QByteArray& content);

    QByteArray bom_;
    std::vector<Line> lines_;
    QByteArray newline_ = "\n";
};

IniText::IniText(QByteArray text) {
    if (text.startsWith(kUtf8Bom)) {
        bom_ = kUtf8Bom;
        text.remove(0, kUtf8Bom.size());
    }
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype nl = text.indexOf('\n', start);
        if (nl < 0) {
            lines_.push_back({text.mid(start), {}});
            break;
        }
        const bool crlf = nl > start && text[nl - 1] == '\r';
        const qsizetype contentEnd = crlf ? nl - 1 : nl;
        lines_.push_back({text.mid(start, contentEnd - start), crlf ? "\r\n" : "\n"});
        start = nl + 1;
    }
    // New lines follow the style of the file's first line ending.
    for (const Line& line : lines_) {
        if (!line.ending.isEmpty()) {
            newline_ = line.ending;
            break;
        }
    }
}

QByteArray IniText::toBytes() const {
    QByteArray out = bom_;
    for (const Line& line : lines_) {
        out += line.content;
        out += line.ending;
    }
    return out;
}

std::optional<QString> IniText::sectionName(const QByteArray& content) {
    const QByteArray trimmed = trimBytes(content);
    const qsizetype close = trimmed.indexOf(']');
    if (!trimmed.startsWith('[') || close < 0) {
        return std::nullopt;
    }
    return trimText(QString::fromUtf8(trimmed.mid(1, close - 1)));
}

std::optional<QString> IniText::keyName(const QByteArray& content) {
    const qsizetype eq = content.indexOf('=');
    const QByteArray trimmed = trimBytes(content);
    if (eq < 0 || trimmed.startsWith(';') || trimmed.startsWith('[')) {
        return std::nullopt;
    }
    return trimText(QString::fromUtf8(content.left(eq)));
}

qsizetype IniText::findSection(const QString& name) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto found = sectionName(lines_[i].content);
        if (found && sameName(*found, name)) {
            return qsizetype(i);
        }
    }
    return -1;
}

qsizetype IniText::sectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < qsizetype(lines_.size()) && !sectionName(lines_[i].content)) {
        ++i;
    }
    return i;
}

qsizetype IniText::findKey(qsizetype from, qsizetype to, const QString& key) const {
    for (qsizetype i = from; i < to; ++i) {
        const auto found = keyName(lines_[i].content);
        if (found && sameName(*found, key)) {
            return i;
        }
    }
    return -1;
}

QString IniText::valueAt(qsizetype index) const {
    const QByteArray& content = lines_[index].content;
    return trimText(QString::fromUtf8(content.mid(content.indexOf('=') + 1)));
}

void IniText::replaceValue(qsizetype index, const QString& value) {
    Line& line = lines_[index];
    // The key keeps the spelling the file gave it.
    const QByteArray key = trimBytes(line.content.left(line.content.indexOf('=')));
    line.content = key + '=' + value.toUtf8();
}

void IniText::addKey(qsizetype sectionHeader, const QString& key, const QString& value) {
    // After the section's last non-blank line, so that a blank line that
    // separates it from the next section stays where it is.
    qsizetype last = sectionEnd(sectionHeader) - 1;
    while (last > sectionHeader && trimBytes(lines_[last].content).isEmpty()) {
        --last;
    }
    insertLine(last + 1, key.toUtf8() + '=' + value.toUtf8());
}

void IniText::addSection(const QString& section, const QString& key, const QString& value) {
    if (!lines_.empty() && !trimBytes(lines_.back().content).isEmpty()) {
        insertLine(qsizetype(lines_.size()), {});
    }
    insertLine(qsizetype(lines_.size()), '[' + section.toUtf8() + ']');
    insertLine(qsizetype(lines_.size()), key.toUtf8() + '=' + value.toUtf8());
}

std::vector<qsizetype> IniText::keyLines(qsizetype header) const {
    std::vector<qsizetype> lines;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (keyName(lines_[i].content)) {
            lines.push_back(i);
        }
    }
    return lines;
}

void IniText::replaceKeys(qsizetype header, const SettingsEntries& entries) {
    const std::vector<qsizetype> old = keyLines(header);
    for (auto it = old.rbegin(); it != old.rend(); ++it) {
        lines_.erase(lines_.begin() + *it);
    }
    qsizetype at = header + 1;
    for (const auto& [key, value] : entries) {
        insertLine(at++, key.toUtf8() + '=' + value.toUtf8());
    }
}

void IniText::insertLine(qsizetype index, const QByteArray& content) {
    if (index > 0 && lines_[index - 1].ending.isEmpty()) {
        lines_[index - 1].ending = newline_;
    }
    lines_.insert(lines_.begin() + index, Line{content, newline_});
}

// Why a name cannot go into the file, or an empty string when it can.
// The file's lines with the header of the section named `section`, or
// nothing when the file could not be read or has no such section.
struct FoundSection {
    IniText text;
    qsizetype header;
};

std::optional<FoundSection> findSectionIn(const jet::Result<QByteArray>& bytes,
                                          const QString& section) {
    if (!bytes) {
        return std::nullopt;
    }
    IniText text(*bytes);
    const qsizetype header = text.findSection(trimText(section));
    if (header < 0) {
        return std::nullopt;
    }
    return FoundSection{std::move(text), header};
}

std::string nameProblem(const QString& name, const char* what) {
    if (trimText(name).isEmpty()) {
        return std::string("The settings ") + what + " name is empty.";
    }
    if (name.contains(u'\n') || name.contains(u'\r') || name.contains(QChar(0))) {
        return std::string("The settings ") + what +
               " name contains a line break or a null character.";
    }
    return {};
}

jet::Status checkEntry(const QString& section, const QString& key, const QString& value) {
    std::string problem = nameProblem(section, "section");
    if (problem.empty() && section.contains(u']')) {
        problem = "The settings section name contains \"]\".";
    }
    if (problem.empty()) {
        problem = nameProblem(key, "key");
    }
    const QString trimmedKey = trimText(key);
    if (problem.empty() &&
        (key.contains(u'=') || trimmedKey.startsWith(u'[') || trimmedKey.startsWith(u';'))) {
        problem = "The settings key name \"" + key.toStdString() + "\" cannot be stored.";
    }
    if (problem.empty() &&
        (value.contains(u'\n') || value.contains(u'\r') || value.contains(QChar(0)))) {
        problem = "The value of settings key " + key.toStdString() +
                  " contains a line break or a null character and cannot be stored.";
    }
    return problem.empty() ? jet::Status::ok() : jet::Status(jet::ErrorCode::Invalid, problem);
}

}  // namespace

QString settingsFilePath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("VT.ini"));
}

QString userConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

SettingsLocation chooseSettingsLocation(const FileSystem& fileSystem, const QString& programFolder,
                                        const QString& userFolder) {
    const QString program = settingsFilePath(programFolder);
    const QString user = userFolder.isEmpty() ? QString() : settingsFilePath(userFolder);
    if (!user.isEmpty() && fileSystem.fileExists(user)) {
        return {user, user, user};
    }
    if (user.isEmpty() || fileSystem.isWritableFolder(programFolder)) {
        return {program, program, user};
    }
    return {program, user, user};
}

SettingsFile::SettingsFile(FileSystem& fileSystem, SettingsLocation location)
    : fileSystem_(fileSystem), location_(std::move(location)) {}

QString SettingsFile::readValue(const QString& section, const QString& key) const {
    const auto found = findSectionIn(fileSystem_.readFile(location_.readPath), section);
    if (!found) {
        return {};
    }
    const IniText& text = found->text;
    const qsizetype line =
        text.findKey(found->header + 1, text.sectionEnd(found->header), trimText(key));
    if (line < 0) {
        return {};
    }
    return firstCharacters(text.valueAt(line), kMaxValueLength);
}

jet::Status SettingsFile::writeValue(const QString& sectionName, const QString& keyName,
                                     const QString& value) {
    const QString section = trimText(sectionName);
    const QString key = trimText(keyName);
    const QString text = trimText(value);
    if (jet::Status check = checkEntry(section, key, text); !check) {
        return check;
    }
    const auto old = textToChange();
    if (!old) {
        return old.status();
    }
    IniText ini(*old);
    const qsizetype header = ini.findSection(section);
    if (header < 0) {
        ini.addSection(section, key, text);
    } else if (qsizetype line = ini.findKey(header + 1, ini.sectionEnd(header), key); line >= 0) {
        ini.replaceValue(line, text);
    } else {
        ini.addKey(header, key, text);
    }
    return writeTo(location_.writePath, ini.toBytes());
}

SettingsEntries SettingsFile::readSection(const QString& section) const {
    const auto found = findSectionIn(fileSystem_.readFile(location_.readPath), section);
    if (!found) {
        return {};
    }
    SettingsEntries entries;
    for (qsizetype line : found->text.keyLines(found->header)) {
        entries.emplace_back(*IniText::keyName(found->text.lineContent(line)),
                             firstCharacters(found->text.valueAt(line), kMaxValueLength));
    }
    return entries;
}

jet::Status SettingsFile::replaceSection(const QString& sectionName,
                                         const SettingsEntries& entries) {
    const QString section = trimText(sectionName);
    SettingsEntries clean;
    for (const auto& [key, value] : entries) {
        if (jet::Status check = checkEntry(section, key, trimText(value)); !check) {
            return check;
        }
        clean.emplace_back(trimText(key), trimText(value));
    }
    const auto old = textToChange();
    if (!old) {
        return old.status();
    }
    IniText ini(*old);
    const qsizetype header = ini.findSection(section);
    if (header < 0 && clean.empty()) {
        return jet::Status::ok();
    }
    if (header < 0) {
        ini.addSection(section, clean.front().first, clean.front().second);
        ini.replaceKeys(ini.findSection(section), clean);
    } else {
        ini.replaceKeys(header, clean);
    }
    return writeTo(location_.writePath, ini.toBytes());
}

// The file written starts from the one written before, else from the one
// read, so moving to the per-user file keeps every other line. No file yet
// is an empty text.
jet::Result<QByteArray> SettingsFile::textToChange() const {
    auto old = fileSystem_.readFile(location_.writePath);
    if (!old && old.status().code() == jet::ErrorCode::NotFound &&
        location_.readPath != location_.writePath) {
        old = fileSystem_.readFile(location_.readPath);
    }
    if (!old && old.status().code() == jet::ErrorCode::NotFound) {
        return QByteArray();
    }
    return old;
}

jet::Status SettingsFile::writeTo(const QString& path, const QByteArray& text) {
    jet::Status status = fileSystem_.writeFile(path, text);
    if (status || location_.userPath.isEmpty() || path == location_.userPath) {
        return status;
    }
    // The program's folder refused the write: keep the settings per user.
    jet::Status fallback = fileSystem_.writeFile(location_.userPath, text);
    if (!fallback) {
        return status;
    }
    location_.readPath = location_.userPath;
    location_.writePath = location_.userPath;
    return fallback;
}

namespace {

// The longest leading decimal number of text from pos on: digits with an
// optional fraction. Returns its length (0 when there is none).
qsizetype decimalLength(const QByteArray& text, qsizetype pos) {
    qsizetype end = pos;
    int digits = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end, ++digits;
    }
    if (end < text.size() && text[end] == '.') {
        qsizetype frac = end + 1;
        while (frac < text.size() && text[frac] >= '0' && text[frac] <= '9') {
            ++frac, ++digits;
        }
        if (frac > end + 1 || digits > 0) {
            end = frac;
        }
    }
    return digits > 0 ? end - pos : 0;
}

double parseDecimal(const QByteArray& text, qsizetype pos, qsizetype length, bool negative) {
    double value = 0;
    const char* first = text.constData() + pos;
    const auto [ptr, ec] = std::from_chars(first, first + length, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Too large for a double (a non-zero whole part): the largest one
        // will do; too small: zero.
        const std::string_view whole(first, std::find(first, first + length, '.') - first);
        const bool large = whole.find_first_not_of('0') != std::string_view::npos;
        value = large ? std::numeric_limits<double>::max() : 0.0;
    } else if (ec != std::errc()) {
        value = 0;
    }
    (void)ptr;
    return negative ? -value : value;
}

}  // namespace

double settingsNumber(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    qsizetype pos = 0;
    while (pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < bytes.size() && (bytes[pos] == '+' || bytes[pos] == '-')) {
        negative = bytes[pos] == '-';
        ++pos;
    }
    const qsizetype length = decimalLength(bytes, pos);
    if (length == 0) {
        return 0;
    }
    const double value = parseDecimal(bytes, pos, length, negative);
    return value == 0 ? 0.0 : value;  // no negative zero
}

int settingsWholeNumber(const QString& text) {
    const double value = std::round(settingsNumber(text));
    if (value >= double(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= double(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return int(value);
}

std::optional<bool> settingsBoolean(const QString& text) {
    const QString trimmed = trimText(text);
    if (sameName(trimmed, QStringLiteral("True"))) {
        return true;
    }
    if (sameName(trimmed, QStringLiteral("False"))) {
        return false;
    }
    const QByteArray bytes = trimmed.toUtf8();
    const qsizetype start = (bytes.startsWith('+') || bytes.startsWith('-')) ? 1 : 0;
    const qsizetype length = decimalLength(bytes, start);
    if (length == 0 || start + length != bytes.size()) {
        return std::nullopt;
    }
    return parseDecimal(bytes, start, length, false) != 0;
}

QString settingsNumberText(double value) {
    if (!std::isfinite(value) || value == 0) {
        return QStringLiteral("0");
    }
    char buffer[400];  // enough for any double in fixed notation
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        return QStringLiteral("0");
    }
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString settingsBooleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

}  // namespace app
