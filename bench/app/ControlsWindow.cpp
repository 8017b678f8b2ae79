#include "app/TerminationSignals.h"
#include "app/WindowFont.h"
#include "common/FontStandIns.h"
#include "itinerary/FieldTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

namespace {

// One plain Qt control of the field's kind, holding its designed text.
QWidget *controlFor(const FieldSpec &spec, QWidget *parent)
{
    switch (spec.kind) {
    case FieldKind::Switch:
        return new QCheckBox(spec.caption, parent);
    case FieldKind::Choice:
        return new QComboBox(parent);
    case FieldKind::PickText: {
        auto *box = new QComboBox(parent);
        box->setLineEdit(new QLineEdit(box));
        box->setEditText(spec.defaultText);
        return box;
    }
    case FieldKind::MultiLine:
        return new QPlainTextEdit(spec.defaultText, parent);
    case FieldKind::Date:
    case FieldKind::Text:
        break;
    }
    return new QLineEdit(spec.defaultText, parent);
}

} // namespace

// Beside the empty window: a window of the same size holding the controls of
// the main window, plain Qt and nothing of the program: a box of its kind for
// every field of the receipt with its designed text, a caption for every
// field, the two groups, the tab page and the ten buttons, all in the main
// window's font, in rows. No settings are read, no lists loaded, no receipt
// drawn, nothing bound. What its start costs is what Qt Widgets costs to show
// this many controls: the floor under the program's own start.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const TerminationSignals orderlyQuit;
    registerFontStandIns();
    QApplication::setFont(windowFont());
    QWidget window;
    window.setFixedSize(911, 620);

    auto *extraction = new QGroupBox(QStringLiteral("信息提取"), &window);
    extraction->setGeometry(8, 4, 380, 140);
    auto *pnr = new QGroupBox(QStringLiteral("PNR信息"), &window);
    pnr->setGeometry(396, 4, 506, 140);
    auto *tabs = new QTabWidget(&window);
    tabs->setGeometry(8, 150, 895, 430);
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("机票信息单打印"));

    int x = 4;
    int y = 4;
    for (const FieldSpec &spec : itineraryFieldTable()) {
        QWidget *parent = spec.kind == FieldKind::MultiLine ? static_cast<QWidget *>(pnr) : page;
        auto *caption = new QLabel(QString(spec.caption).replace(u'\n', u' '), parent);
        QWidget *control = controlFor(spec, parent);
        if (spec.kind == FieldKind::MultiLine) {
            caption->move(10, 20);
            control->setGeometry(10, 40, 486, 90);
            continue;
        }
        if (x + 97 > 880) {
            x = 4;
            y += 40;
        }
        caption->setGeometry(x, y, 95, 16);
        control->setGeometry(x, y + 17, 95, 21);
        x += 97;
    }

    const char16_t *const buttons[] = {u"提取信息", u"取消",     u"PNR信息转", u"清除",
                                       u"示例",     u"全部打印", u"打印预览",  u"直接打印",
                                       u"打印记录", u"设置"};
    x = 8;
    for (const char16_t *text : buttons) {
        auto *button = new QPushButton(QString::fromUtf16(text), &window);
        button->setGeometry(x, 588, 84, 26);
        x += 89;
    }
    window.show();
    return app.exec();
}
