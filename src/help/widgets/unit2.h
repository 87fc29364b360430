#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's home page (set at build time) and the way the link shows it: no scheme, no
// trailing slash.
QUrl homePage();
QString homePageCaption();

// The help window: the method explained, its text saved to a file, the home page link. It is
// created once, hidden, and only ever hidden again, so the text, its edits and the scroll
// position last as long as the program runs. Its controls exist once it has first been shown.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr; // "Закрыть"
    QPushButton *Button2 = nullptr; // "Сохранить текст в файл"
    QLabel *Label1 = nullptr;       // the link

    // Handlers, each run under the default error report.
    void Button1Click();
    void Button2Click();
    void Label1Click();

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildContents();
};
