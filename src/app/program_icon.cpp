#include "app/program_icon.h"

QIcon programIcon() { return QIcon(); }
