#include "report/wmf_writer.h"

QByteArray widgetToMetafile(QWidget *) { return {}; }
