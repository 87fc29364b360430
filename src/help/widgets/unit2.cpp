#include "help/widgets/unit2.h"

#include "core/current_folder.h"
#include "core/whole_file.h"
#include "core/windows1251.h"
#include "help/help_file.h"
#include "ui/announcement.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
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

// Asks whether to write the characters Windows-1251 lacks as "?"; at most a dozen are named.
bool questionMarksAgreed(QWidget *parent, const std::vector<std::string> &lacking) {
    constexpr std::size_t named = 12;
    QStringList characters;
    for (std::size_t i = 0; i < std::min(lacking.size(), named); ++i) {
        const QString character = QString::fromStdString(lacking[i]);
        const QString code = QString::number(character.toUcs4().value(0), 16).toUpper();
        characters << QString("«%1» (U+%2)").arg(character, code.rightJustified(4, '0'));
    }
    if (lacking.size() > named)
        characters << QString("и ещё %1").arg(lacking.size() - named);
    QMessageBox question(QMessageBox::Question, QApplication::applicationDisplayName(),
                         QString("В кодировке Windows-1251 нет символов: %1. В файле «%2» вместо "
                                 "них будет записан знак «?». Сохранить?")
                             .arg(characters.join(", "), QString::fromUtf8(helpFileName)),
                         QMessageBox::Yes | QMessageBox::No, parent);
    question.setTextFormat(Qt::PlainText);
    question.setDefaultButton(QMessageBox::No);
    return question.exec() == QMessageBox::Yes;
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
    const std::string text = Memo1->toPlainText().toStdString();
    const std::vector<std::string> lacking = lackingInWindows1251(text);
    if (!lacking.empty() && !questionMarksAgreed(this, lacking))
        return;
    saveHelpFile(helpFileName, text);
    announce(Button2, QString::fromStdString(savedNotice(currentFolder().path, {helpFileName})));
}

// Whether a browser opened the page is of no concern to the program.
void TForm2::Label1Click() { QDesktopServices::openUrl(homePage()); }
