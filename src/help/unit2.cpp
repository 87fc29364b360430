#include "help/unit2.h"

#include "help/help_file.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

// The address comes from the build (the cache variable OOSCALC_HOMEPAGE), so that a packager
// changes it in one place.
#ifndef OOSCALC_HOMEPAGE
#error "OOSCALC_HOMEPAGE is defined by the build"
#endif

QUrl homePage() { return QUrl(QStringLiteral(OOSCALC_HOMEPAGE)); }

QString homePageCaption() {
    QString caption = homePage().toString(QUrl::RemoveScheme);
    if (caption.startsWith("//"))
        caption.remove(0, 2);
    while (caption.endsWith('/'))
        caption.chop(1);
    return caption;
}

namespace {

QString helpText() {
    QFile file(":/help/help_text.txt");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

TForm2::TForm2(QWidget *parent) : QWidget(parent, designWindowFlags) {
    // The text is compiled into the static GUI library; this keeps the linker from dropping it.
    Q_INIT_RESOURCE(help_text);

    setUpWindow(this, "Form2", "Усилитель с комбинированной ООС - Help");
    setFixedSize(769, 444);
    move(192, 110);
}

// The controls and the text are made when the window is first shown, not at start-up.
void TForm2::setVisible(bool visible) {
    if (visible && !Memo1)
        buildContents();
    QWidget::setVisible(visible);
}

void TForm2::buildContents() {
    // Created in keyboard order: "Закрыть", "Сохранить текст в файл", the text.
    Button1 = new QPushButton("Закрыть", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(48, 408, 145, 33);
    Button1->setFont(designFont(16, true));

    Button2 = new QPushButton("Сохранить текст в файл", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(576, 408, 145, 33);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(8, 8, 753, 393);
    QFont memoFont("Liberation Sans"); // Arial's metric twin
    memoFont.setPixelSize(13);
    Memo1->setFont(memoFont);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(helpText());
    Memo1->setTabChangesFocus(true); // Tab moves on to "Закрыть", as the keyboard order has it

    Label1 = new QLabel(homePageCaption(), this);
    Label1->setObjectName("Label1");
    Label1->move(336, 416);
    QFont linkFont = Label1->font();
    linkFont.setUnderline(true);
    Label1->setFont(linkFont);
    setTextColour(Label1, Qt::blue);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->adjustSize();
    Label1->installEventFilter(this);

    QWidget::setTabOrder(Button1, Button2);
    QWidget::setTabOrder(Button2, Memo1);

    connectHandler(Button1, this, [this] { Button1Click(); });
    // Escape closes the window as "Закрыть" does.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, Button1,
            &QPushButton::click);
    connectHandler(Button2, this, [this] { Button2Click(); });
}

bool TForm2::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label1->rect().contains(mouse->position().toPoint())) {
            runHandler([this] { Label1Click(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm2::Button1Click() { hide(); }

void TForm2::Button2Click() {
    const QString path = QDir::current().absoluteFilePath(QString::fromUtf8(helpFileName));
    saveHelpFile(path.toStdString(), Memo1->toPlainText().toStdString());
}

// Whether a browser opened the page is of no concern to the program.
void TForm2::Label1Click() { QDesktopServices::openUrl(homePage()); }
