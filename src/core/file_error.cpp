#include "core/file_error.h"

#include "core/replacing_file.h"

#include <cerrno>

namespace {

struct Reason {
    int error;
    const char *text;
};

constexpr Reason reasons[] = {
    {ENOSPC, "на диске нет места"},
    {EDQUOT, "превышена дисковая квота"},
    {EROFS, "файловая система доступна только для чтения"},
    {EACCES, "нет прав на запись"},
    {EPERM, "нет прав на запись"},
    {ReplacingFile::foreignLink,
     "это ссылка другого пользователя в общей папке, программа по ней не переходит"},
    {ReplacingFile::noReader, "канал никто не читает"},
    {EPIPE, "читающая сторона закрыла канал"},
    {ReplacingFile::stalled, "канал или устройство не принимает данные"},
    {ENXIO, "нет такого устройства"},
    {ENAMETOOLONG, "слишком длинное имя"},
    {ENOENT, "папка не существует"},
    {EISDIR, "под этим именем уже есть папка"},
    {EFBIG, "превышен предельный размер файла"},
    {ELOOP, "слишком много символических ссылок подряд"},
    {EMFILE, "открыто слишком много файлов"},
    {ENFILE, "открыто слишком много файлов"},
};

} // namespace

std::string fileErrorReason(int error) {
    for (const Reason &reason : reasons)
        if (reason.error == error)
            return reason.text;
    return "ошибка ввода-вывода (код " + std::to_string(error) + ")";
}
