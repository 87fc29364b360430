#include "app/unit1.h"

#include "app/classic_look.h"
#include "app/error_report.h"
#include "app/program_icon.h"
#include "app/schematics.h"
#include "app/timage.h"
#include "help/unit2.h"
#include "input/numeric_fields.h"
#include "speaker/response_chart.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

namespace {

// One "Вариант" group box of the two amplifier pages.
struct AmplifierGroupLayout {
    QGroupBox *TForm1::*box;
    int boxNumber;
    const char *caption;
    int x;
    FieldGroup fields;
    int firstCaptionLabel;                // the seven caption labels are numbered on from here
    std::array<const char *, 7> captions; // five inputs, then the two results
    QLabel *TForm1::*message;             // nullptr for Variant 3
    int messageNumber;
    const char *messageText;
    std::array<QLabel * TForm1::*, 2> results;
    std::array<int, 2> resultNumbers;
    std::array<const char *, 2> resultTexts; // design-time texts, with a decimal point
    QPushButton *TForm1::*button;
    int buttonNumber;
};

using F = TForm1;
using G = FieldGroup;

// clang-format off
const std::array<AmplifierGroupLayout, 3> nonInvertingGroups{{
    {&F::GroupBox4, 4, "Вариант 1", 184, G::NonInvertingVariant1, 28,
     {"R1 (кОм) =", "Roc (кОм) =", "Rн (Ом) =", "Rт (Ом) =", "Rвых (Ом) =", "R2 (кОм) =",
      "Ку (раз) ="},
     &F::Label82, 82, "Решения нет", {&F::Label35, &F::Label36}, {35, 36}, {"10", "20"},
     &F::Button4, 4},
    {&F::GroupBox5, 5, "Вариант 2", 376, G::NonInvertingVariant2, 37,
     {"Ку (раз) =", "Roc (кОм) =", "Rн (Ом) =", "Rт (Ом) =", "Rвых (Ом) =", "R1 (кОм) =",
      "R2 (кОм) ="},
     &F::Label81, 81, "Label81", {&F::Label44, &F::Label45}, {44, 45}, {"20", "10"}, &F::Button5,
     5},
    // Variant 3 writes "Rос" with a Cyrillic "ос"; it looks the same.
    {&F::GroupBox6, 6, "Вариант 3", 568, G::NonInvertingVariant3, 46,
     {"R1 (кОм) =", "R2 (кОм) =", "Rос (кОм) =", "Rн (Ом) =", "Rт (Ом) =", "Rвых (Ом) =",
      "Ку (раз) ="},
     nullptr, 0, nullptr, {&F::Label53, &F::Label54}, {53, 54}, {"0.6", "20"}, &F::Button6, 6},
}};

const std::array<AmplifierGroupLayout, 3> invertingGroups{{
    {&F::GroupBox1, 1, "Вариант 1", 184, G::InvertingVariant1, 1,
     {"R1 (кОм) =", "Roc (кОм) =", "Rн (Ом) =", "Rт (Ом) =", "Rвых (Ом) =", "R2 (кОм) =",
      "Ку (раз) ="},
     &F::Label83, 83, "Решения нет", {&F::Label8, &F::Label9}, {8, 9}, {"1", "6.5"}, &F::Button1,
     1},
    {&F::GroupBox2, 2, "Вариант 2", 376, G::InvertingVariant2, 10,
     {"Ку (раз) =", "Roc (кОм) =", "Rн (Ом) =", "Rт (Ом) =", "Rвых (Ом) =", "R1 (кОм) =",
      "R2 (кОм) ="},
     &F::Label84, 84, "Label84", {&F::Label17, &F::Label18}, {17, 18}, {"10.08", "1.01"},
     &F::Button2, 2},
    {&F::GroupBox3, 3, "Вариант 3", 568, G::InvertingVariant3, 19,
     {"R1 (кОм) =", "R2 (кОм) =", "Rос (кОм) =", "Rн (Ом) =", "Rт (Ом) =", "Rвых (Ом) =",
      "Ку (раз) ="},
     nullptr, 0, nullptr, {&F::Label26, &F::Label27}, {26, 27}, {"2.2", "6.5"}, &F::Button3, 3},
}};
// clang-format on

constexpr std::array<int, 5> fieldRowsY{40, 72, 104, 136, 168};
constexpr std::array<int, 2> resultRowsY{224, 248};

QString labelName(int number) { return QString("Label%1").arg(number); }

QLabel *newLabel(QWidget *parent, int number, const QString &text, int x, int y) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(labelName(number));
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A label of fixed size, as the result and message labels are.
QLabel *newFixedLabel(QWidget *parent, int number, const QString &text, QRect geometry) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(labelName(number));
    label->setGeometry(geometry);
    return label;
}

QPushButton *newButton(QWidget *parent, int number, const QString &caption, QRect geometry,
                       bool bold) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString("Button%1").arg(number));
    button->setGeometry(geometry);
    if (bold)
        button->setFont(designFont(16, true));
    return button;
}

QLineEdit *newEdit(QWidget *parent, int number, QRect geometry) {
    auto *edit = new QLineEdit(fieldSpec(number).defaultText, parent);
    edit->setObjectName(QString("Edit%1").arg(number));
    edit->setGeometry(geometry);
    return edit;
}

QGroupBox *newGroupBox(QWidget *parent, int number, const QString &caption, QRect geometry) {
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QString("GroupBox%1").arg(number));
    box->setGeometry(geometry);
    return box;
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("Form1");
    setPalette(designPalette()); // the desktop's theme stays outside
    setWindowTitle("Усилитель с комбинированной ООС по напряжению и току");
    setWindowIcon(programIcon());
    setFixedSize(744, 502);

    // Created in keyboard order: the pages, then "Exit", "Help", "Сохранить".
    buildPages();
    buildBottomRow();
    buildBanner();

    std::map<int, QLabel *> resultLabels;
    for (QLabel *label :
         {Label8, Label9, Label17, Label18, Label26, Label27, Label35, Label36, Label44, Label45,
          Label53, Label54, Label72, Label73, Label76, Label77, Label107})
        resultLabels[label->objectName().mid(5).toInt()] = label;
    fields = new NumericFields({Edit, Label55, Button10, Button7, std::move(resultLabels),
                                [this] { Chart1->emptySeries(); }},
                               last, this);
    wireHandlers();
}

TForm1::~TForm1() = default;

void TForm1::buildBanner() {
    Label55 = newFixedLabel(this, 55, "Проверьте ввод !", QRect(0, 0, 745, 17));
    Label55->setFont(designFont(13, true));
    Label55->setAlignment(Qt::AlignCenter);
    setTextColour(Label55, Qt::black);
    setBackgroundColour(Label55, clYellow());
    Label55->hide();
}

void TForm1::buildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(0, 16, 745, 425);

    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName("TabSheet3");
    for (QWidget *page : {TabSheet1, TabSheet2, TabSheet3})
        page->setAutoFillBackground(true); // button face, as the rest of the window
    PageControl1->addTab(TabSheet1, "Неинвертирующий");
    PageControl1->addTab(TabSheet2, "Инвертирующий");
    PageControl1->addTab(TabSheet3, "Пример применения (условный - см. Help!)");

    buildAmplifierPage(TabSheet1, false);
    buildAmplifierPage(TabSheet2, true);
    buildSpeakerPage();
}

void TForm1::buildAmplifierPage(QWidget *page, bool inverting) {
    TImage *&image = inverting ? Image2 : Image1;
    image = new TImage(inverting ? invertingSchematic() : nonInvertingSchematic(), page);
    image->setObjectName(inverting ? "Image2" : "Image1");
    image->move(5, 34);

    QLabel *&note = inverting ? Label86 : Label85;
    note = newFixedLabel(page, inverting ? 86 : 85,
                         "Ку = Uнагрузки / Uвх          для заданного значения Rн",
                         QRect(8, 272, 153, 33));
    note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    note->setWordWrap(true);

    for (const AmplifierGroupLayout &g : inverting ? invertingGroups : nonInvertingGroups) {
        QGroupBox *box = newGroupBox(page, g.boxNumber, g.caption, QRect(g.x, 40, 161, 321));
        this->*g.box = box;

        const auto fieldsOfGroup = groupFields(g.fields);
        for (int row = 0; row < 5; ++row) {
            const int y = fieldRowsY[static_cast<std::size_t>(row)];
            newLabel(box, g.firstCaptionLabel + row, g.captions[static_cast<std::size_t>(row)], 16,
                     y + 4);
            const int number = fieldsOfGroup[static_cast<std::size_t>(row)].edit;
            Edit[static_cast<std::size_t>(number)] = newEdit(box, number, QRect(80, y, 65, 21));
        }

        if (g.message) {
            QLabel *message =
                newFixedLabel(box, g.messageNumber, g.messageText, QRect(16, 200, 129, 17));
            message->setFont(designFont(13));
            message->setAlignment(Qt::AlignCenter);
            setTextColour(message, Qt::black);
            setBackgroundColour(message, clYellow());
            message->hide();
            this->*g.message = message;
        }

        for (std::size_t row = 0; row < 2; ++row) {
            newLabel(box, g.firstCaptionLabel + 5 + static_cast<int>(row), g.captions[5 + row], 16,
                     resultRowsY[row]);
            QLabel *result = newFixedLabel(box, g.resultNumbers[row], g.resultTexts[row],
                                           QRect(80, resultRowsY[row], 65, 13));
            setTextColour(result, clNavy());
            this->*g.results[row] = result;
        }

        this->*g.button = newButton(box, g.buttonNumber, "Вычислить", QRect(8, 272, 145, 41), true);
    }
}

void TForm1::buildSpeakerPage() {
    Chart1 = new ResponseChart(TabSheet3);
    Chart1->setObjectName("Chart1");
    Chart1->setGeometry(0, 0, 409, 393);

    struct InputRow {
        int captionLabel;
        const char *caption;
        int symbolLabel;
        const char *symbol;
        int edit;
    };
    // Driver parameters: a description at the left, the symbol right-aligned before the field.
    GroupBox7 = newGroupBox(TabSheet3, 7, "Параметры динамика", QRect(416, 0, 313, 145));
    constexpr std::array<InputRow, 5> driverRows{{
        {56, "Резонансная частота, Гц", 61, "Fs =", 31},
        {57, "Сопротивление звуковой катушки, Ом", 62, "Re =", 32},
        {58, "Механическая добротность", 63, "Qms =", 33},
        {59, "Электрическая добротность", 64, "Qes =", 34},
        {60, "Эквивалентный объем, л", 65, "Vas =", 35},
    }};
    const auto addInputRow = [this](QGroupBox *box, const InputRow &row, int y) {
        if (row.caption)
            newLabel(box, row.captionLabel, row.caption, 8, y + 4);
        QLabel *symbol = newFixedLabel(box, row.symbolLabel, row.symbol, QRect(160, y + 4, 84, 13));
        symbol->setAlignment(Qt::AlignRight | Qt::AlignTop);
        Edit[static_cast<std::size_t>(row.edit)] = newEdit(box, row.edit, QRect(248, y, 41, 21));
    };
    for (std::size_t i = 0; i < driverRows.size(); ++i)
        addInputRow(GroupBox7, driverRows[i], 16 + 24 * static_cast<int>(i));

    GroupBox8 = newGroupBox(TabSheet3, 8, "Параметры крпуса колонки (\"закрытый ящик\")",
                            QRect(416, 152, 313, 105));
    addInputRow(GroupBox8, {66, "Внутренний объем корпуса, л", 67, "Vb =", 36}, 16);
    newLabel(GroupBox8, 105, "Требуемое Rвых для получения Qtc = 0,7 (Ом)", 8, 50);
    Label107 = newFixedLabel(GroupBox8, 107, "5,996", QRect(248, 50, 57, 13));
    Label107->setIndent(3); // digits in line with the text of the fields below
    addInputRow(GroupBox8, {0, nullptr, 80, "Rвых усилителя (Ом) =", 37}, 72);
    findChild<QLabel *>("Label80")->setGeometry(8, 76, 236, 13);

    // Results, in navy like the frame's caption.
    GroupBox9 = newGroupBox(TabSheet3, 9, "Результаты", QRect(416, 260, 313, 93));
    setTextColour(GroupBox9, clNavy());
    struct ResultRow {
        int captionLabel;
        const char *caption;
        int symbolLabel;
        const char *symbol;
        QLabel *TForm1::*value;
        int valueLabel;
        const char *designText;
    };
    const std::array<ResultRow, 4> resultRows{{
        {74, "Исходная добротность колонки", 78, "Qtc =", &F::Label76, 76, "0,238"},
        {75, "Исходная частота среза на низких (Гц)", 79, "F3 =", &F::Label77, 77, "103,9"},
        {68, "Новая добротность колонки", 70, "Qtc' =", &F::Label72, 72, "0,7"},
        {69, "Новая частота среза на низких, Гц", 71, "F3' =", &F::Label73, 73, "32,1"},
    }};
    for (std::size_t i = 0; i < resultRows.size(); ++i) {
        const ResultRow &row = resultRows[i];
        const int y = 18 + 18 * static_cast<int>(i);
        newLabel(GroupBox9, row.captionLabel, row.caption, 8, y);
        QLabel *symbol =
            newFixedLabel(GroupBox9, row.symbolLabel, row.symbol, QRect(200, y, 44, 13));
        symbol->setAlignment(Qt::AlignRight | Qt::AlignTop);
        this->*row.value =
            newFixedLabel(GroupBox9, row.valueLabel, row.designText, QRect(248, y, 57, 13));
    }

    // Keyboard order: the fields, the chart, then the button.
    Chart1->setFocusPolicy(Qt::StrongFocus);
    Button7 = newButton(TabSheet3, 7, "Вычислить", QRect(416, 360, 313, 33), true);
    Button7->setDefault(true);
    QWidget::setTabOrder(Edit[37], Chart1);
    QWidget::setTabOrder(Chart1, Button7);
}

void TForm1::buildBottomRow() {
    Button8 = newButton(this, 8, "Exit", QRect(16, 456, 145, 33), true);
    Button9 = newButton(this, 9, "Help", QRect(184, 456, 145, 33), true);
    Button10 = newButton(this, 10, "Сохранить", QRect(584, 456, 145, 33), true);
    Button10->setEnabled(false);
}

void TForm1::wireHandlers() {
    const std::array<std::pair<QPushButton *, void (TForm1::*)()>, 10> clicks{{
        {Button1, &TForm1::Button1Click},
        {Button2, &TForm1::Button2Click},
        {Button3, &TForm1::Button3Click},
        {Button4, &TForm1::Button4Click},
        {Button5, &TForm1::Button5Click},
        {Button6, &TForm1::Button6Click},
        {Button7, &TForm1::Button7Click},
        {Button8, &TForm1::Button8Click},
        {Button9, &TForm1::Button9Click},
        {Button10, &TForm1::Button10Click},
    }};
    for (const auto &[button, handler] : clicks)
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { runHandler([&] { (this->*handler)(); }); });
}

void TForm1::showEvent(QShowEvent *event) {
    if (!centred) {
        centred = true;
        if (const QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    }
    // Shown by the program, not restored by the window manager: the start-up calculation.
    if (!event->spontaneous())
        runHandler([this] { FormShow(); });
    QWidget::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent *event) {
    // Closing the main window ends the program, help window and all.
    QWidget::closeEvent(event);
    QApplication::quit();
}

void TForm1::keyPressEvent(QKeyEvent *event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter presses the focused button, else the default button while its page is shown.
    if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
        focused->click();
    else if (Button7->isVisible())
        Button7->click();
}

void TForm1::Button8Click() { QApplication::quit(); }

void TForm1::Button9Click() {
    Form2->show();
    Form2->raise();
    Form2->activateWindow();
}
