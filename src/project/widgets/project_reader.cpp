#include "project/widgets/project_reader.h"

#include "driver_load/driver_load_fields.h"
#include "project/project_text.h"
#include "tolerance/tolerance_fields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

struct Refused {
    std::string why;
};

const char *typeName(QJsonValue::Type type) {
    switch (type) {
    case QJsonValue::Bool:
        return "логическое значение";
    case QJsonValue::Double:
        return "число";
    case QJsonValue::String:
        return "строка";
    case QJsonValue::Array:
        return "массив";
    case QJsonValue::Object:
        return "объект";
    default:
        return "null";
    }
}

const char *wantedName(QJsonValue::Type type) {
    switch (type) {
    case QJsonValue::Double:
        return "числом";
    case QJsonValue::String:
        return "строкой";
    case QJsonValue::Array:
        return "массивом";
    default:
        return "объектом";
    }
}

const char *parseErrorText(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return "объект не закрыт";
    case QJsonParseError::UnterminatedArray:
        return "массив не закрыт";
    case QJsonParseError::UnterminatedString:
        return "строка не закрыта";
    case QJsonParseError::MissingNameSeparator:
        return "нет двоеточия после ключа";
    case QJsonParseError::MissingValueSeparator:
        return "нет запятой между значениями";
    case QJsonParseError::IllegalNumber:
        return "неверное число";
    case QJsonParseError::IllegalEscapeSequence:
        return "неверная escape-последовательность";
    case QJsonParseError::IllegalUTF8String:
        return "текст не в UTF-8";
    case QJsonParseError::GarbageAtEnd:
        return "лишнее после конца JSON";
    case QJsonParseError::DeepNesting:
        return "слишком глубокая вложенность";
    case QJsonParseError::DocumentTooLarge:
        return "документ слишком велик";
    default:
        return "неверное значение";
    }
}

// The value under `key`, of `type`; a missing one is `fallback`, or refused when there is none.
QJsonValue member(const QJsonObject &object, const std::string &path, const char *key,
                  QJsonValue::Type type, std::optional<QJsonValue> fallback = std::nullopt) {
    const QJsonValue value = object.value(QString::fromUtf8(key));
    const std::string name = "«" + path + key + "»";
    if (value.isUndefined()) {
        if (!fallback)
            throw Refused{"нет ключа " + name};
        return *fallback;
    }
    if (value.type() != type)
        throw Refused{"значение " + name + " должно быть " + wantedName(type) + ", а в файле " +
                      typeName(value.type())};
    return value;
}

std::string text(const QJsonValue &value) { return value.toString().toStdString(); }

// An integral number: the format's version, the page.
int whole(const QJsonValue &value, const char *key) {
    const double number = value.toDouble();
    if (std::floor(number) != number || std::fabs(number) > 1e9)
        throw Refused{"значение «" + std::string(key) + "» должно быть целым числом"};
    return static_cast<int>(number);
}

const char *startingTextOf(const DriverLoadField &field) { return startingText(field); }
const char *startingTextOf(const WindowField &field) { return field.defaultText; }

// A window's inputs under its table's keys; a key the file lacks keeps the text it starts with.
template <class Table>
std::vector<std::string> windowTexts(const QJsonObject &root, const char *key, Table table) {
    const QJsonObject object = member(root, "", key, QJsonValue::Object, QJsonObject()).toObject();
    std::vector<std::string> texts;
    for (const auto &field : table)
        texts.push_back(text(member(object, std::string(key) + ".", field.key, QJsonValue::String,
                                    QString(startingTextOf(field)))));
    return texts;
}

// The driver window's «Ящик»; closed where the file names none.
BoxKind boxChoice(const QJsonObject &root) {
    const QJsonObject window =
        member(root, "", "driverWindow", QJsonValue::Object, QJsonObject()).toObject();
    const std::string box =
        text(member(window, "driverWindow.", boxKey, QJsonValue::String, QString(closedBoxName)));
    if (box != closedBoxName && box != ventedBoxName)
        throw Refused{"значение «driverWindow." + std::string(boxKey) + "» должно быть «" +
                      closedBoxName + "» или «" + ventedBoxName + "», а в файле «" + box + "»"};
    return box == ventedBoxName ? BoxKind::Vented : BoxKind::Closed;
}

DesignRecord design(const QJsonObject &root) {
    if (!root.contains("format"))
        throw Refused{"это не проект ooscalc: в нём нет ключа «format»"};
    const QJsonValue format = member(root, "", "format", QJsonValue::String);
    if (format.toString() != QString::fromUtf8(projectFormat.data(), projectFormat.size()))
        throw Refused{"это не проект ooscalc: формат «" + text(format) + "», а не «" +
                      std::string(projectFormat) + "»"};
    const int version = whole(member(root, "", "version", QJsonValue::Double), "version");
    if (version > projectVersion)
        throw Refused{"файл создан более новой версией программы (версия формата " +
                      std::to_string(version) + ", а эта программа читает версию " +
                      std::to_string(projectVersion) + ")"};
    if (version < 1)
        throw Refused{"неизвестная версия формата " + std::to_string(version)};

    DesignRecord design;
    const QJsonObject fields = member(root, "", "fields", QJsonValue::Object).toObject();
    for (std::size_t i = 0; i < design.fields.size(); ++i) {
        const std::string key = "Edit" + std::to_string(i + 1);
        design.fields[i] = text(member(fields, "fields.", key.c_str(), QJsonValue::String));
    }
    design.driverWindow = windowTexts(root, "driverWindow", driverLoadFields());
    design.box = boxChoice(root);
    design.tolerances = windowTexts(root, "tolerances", toleranceFields());
    design.page = whole(member(root, "", "page", QJsonValue::Double, 1), "page");
    for (const QJsonValue name :
         member(root, "", "calculated", QJsonValue::Array, QJsonArray()).toArray()) {
        if (!name.isString())
            throw Refused{"в «calculated» должны быть строки, а в файле " +
                          std::string(typeName(name.type()))};
        design.calculated.push_back(text(name));
    }

    // The driver's numbers are for other tools: checked for their type, never read.
    const QJsonObject driver =
        member(root, "", "driver", QJsonValue::Object, QJsonObject()).toObject();
    for (const DriverValue value : driverValues)
        member(driver, "driver.", std::string(wdrKey(value)).c_str(), QJsonValue::Double, 0);
    member(driver, "driver.", "Qts", QJsonValue::Double, 0);
    if (driver.contains("Brand") || driver.contains("Model"))
        design.driverName =
            DriverName{text(member(driver, "driver.", "Brand", QJsonValue::String, QString())),
                       text(member(driver, "driver.", "Model", QJsonValue::String, QString()))};
    design.note = text(member(root, "", "note", QJsonValue::String, QString()));
    return design;
}

} // namespace

ProjectRead readProject(std::string_view bytes) {
    if (bytes.size() > projectFileLimit)
        return {std::nullopt, "файл больше 1 МиБ, проекты много меньше"};
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {std::nullopt, "файл пуст"};
    if (bytes[first] != '{')
        return {std::nullopt, "это не проект ooscalc: проект — объект JSON, он начинается с «{»"};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
    if (error.error != QJsonParseError::NoError)
        return {std::nullopt, "файл повреждён или обрезан: JSON нарушен у байта " +
                                  std::to_string(error.offset) + " (" +
                                  parseErrorText(error.error) + ")"};
    try {
        DesignRecord read = design(document.object());
        if (std::string fault = designFault(read); !fault.empty())
            return {std::nullopt, fault};
        return {std::move(read), {}};
    } catch (const Refused &refused) {
        return {std::nullopt, refused.why};
    }
}
