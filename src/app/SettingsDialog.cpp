#include "app/SettingsDialog.h"

#include "app/MessageBox.h"
#include "common/FontStandIns.h"
#include "common/KestranoError.h"
#include "common/TextRules.h"
#include "print/CalibrationPage.h"
#include "print/PrintSettings.h"
#include "print/ReportPage.h"
#include "settings/DelimitedText.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingDeclarations.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSlider>

#include <algorithm>

namespace {

constexpr QSize clientSize(658, 487);
constexpr int offsetMiddle = 50; // a track bar position of 50 is an offset of 0

void name(QWidget *widget, const char *objectName, const QString &caption)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setAccessibleDescription(QString::fromLatin1(objectName));
    widget->setAccessibleName(caption);
}

QLabel *labelAt(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QPushButton *buttonAt(const char *objectName, const QString &caption, QWidget *parent,
                      const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    name(button, objectName, caption);
    button->setGeometry(geometry);
    return button;
}

// 0x00BBGGRR, red in the lowest byte.
QColor colorOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int bgrOf(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

// The print fonts on offer, each family once: first the names that a
// stand-in serves (such as "TEC"), as long as the stand-in is installed, then
// the installed families in alphabetical order. A family that several
// foundries provide is listed by its name alone ("Nimbus Sans", not
// "Nimbus Sans [URW ]"): the name is what the settings keep and printing asks for.
QStringList installedFonts()
{
    QStringList families;
    for (QString family : QFontDatabase::families()) {
        const qsizetype foundry = family.indexOf(QLatin1String(" ["));
        if (foundry > 0 && family.endsWith(u']'))
            family.truncate(foundry);
        if (!families.contains(family, Qt::CaseInsensitive))
            families.append(family);
    }
    families.sort(Qt::CaseInsensitive);

    QStringList standIns;
    for (const QString &named : fontStandInNames()) {
        const QStringList servedBy = QFont::substitutes(named);
        if (servedBy.isEmpty() || !families.contains(servedBy.front(), Qt::CaseInsensitive))
            continue;
        families.removeIf([&named](const QString &family) {
            return family.compare(named, Qt::CaseInsensitive) == 0;
        });
        standIns.append(named);
    }
    return standIns + families;
}

// Enter in a list's entry box adds the entry, as "添加" does, instead of
// reaching the dialog's default button "确定".
class EnterAdds : public QObject
{
public:
    EnterAdds(QPushButton *add, QObject *parent) : QObject(parent), m_add(add) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_add->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton *m_add;
};

} // namespace

SettingsDialog::SettingsDialog(const QString &settingsFolder, QWidget *parent)
    : QDialog(parent), m_settingsFolder(settingsFolder),
      m_pickColor([](const QColor &initial, QWidget *owner) {
          return QColorDialog::getColor(initial, owner);
      })
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("设置"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    setFixedSize(clientSize);
    setModal(true);

    buildPrintGroup();
    buildListGroup();
    buildOtherGroup();

    QPushButton *restore =
        buttonAt("Button10", QStringLiteral("恢复"), this, QRect(398, 428, 76, 28));
    QPushButton *ok = buttonAt("Button11", QStringLiteral("确定"), this, QRect(484, 428, 76, 28));
    QPushButton *cancel =
        buttonAt("Button12", QStringLiteral("取消"), this, QRect(570, 428, 76, 28));
    ok->setDefault(true);
    connect(restore, &QPushButton::clicked, this, &SettingsDialog::restoreDefaults);
    connect(ok, &QPushButton::clicked, this, &SettingsDialog::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const QWidget *owner = parentWidget();
    if (const QScreen *desktop = owner ? owner->screen() : screen())
        move(desktop->availableGeometry().center() - rect().center());

    MessageBox::guarded(this, [this] { loadSettings(); });
}

void SettingsDialog::addOffset(const QString &caption, const char *barName, const char *boxName,
                               int top, QSlider *&bar, QLineEdit *&box)
{
    QWidget *group = findChild<QGroupBox *>(QStringLiteral("GroupBox1"));
    labelAt(caption, group, QRect(12, top + 3, 64, 18));
    bar = new QSlider(Qt::Horizontal, group);
    name(bar, barName, caption);
    bar->setRange(0, 100);
    bar->setGeometry(80, top, 230, 24);
    box = new QLineEdit(group);
    name(box, boxName, caption);
    box->setGeometry(318, top, 56, 22);
    // Digits only, and a leading minus so that a negative offset can be typed.
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d*")), box));
    QLineEdit *shown = box;
    connect(bar, &QSlider::valueChanged, shown,
            [shown](int position) { shown->setText(QString::number(position - offsetMiddle)); });
}

void SettingsDialog::buildPrintGroup()
{
    auto *group = new QGroupBox(QStringLiteral("打印设置"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 6, 642, 150);
    addOffset(QStringLiteral("左右偏移"), "trbHPos", "edtHPos", 22, trbHPos, edtHPos);
    addOffset(QStringLiteral("上下偏移"), "trbVPos", "edtVPos", 54, trbVPos, edtVPos);

    QStringList sizes;
    for (int size = 10; size <= 20; ++size)
        sizes.append(QString::number(size));
    const struct
    {
        const char *objectName;
        QString caption;
        int top;
        QComboBox *&box;
    } sizeBoxes[] = {{"cboFontCnSize", QStringLiteral("字体大小"), 22, cboFontCnSize},
                     {"cboFontEnSize", QStringLiteral("英文大小"), 54, cboFontEnSize}};
    for (const auto &s : sizeBoxes) {
        labelAt(s.caption, group, QRect(400, s.top + 3, 64, 18));
        s.box = new QComboBox(group);
        name(s.box, s.objectName, s.caption);
        s.box->setEditable(true);
        s.box->addItems(sizes);
        s.box->setEditText(QStringLiteral("18"));
        s.box->setGeometry(468, s.top, 100, 22);
    }

    labelAt(QStringLiteral("字体设置"), group, QRect(12, 89, 64, 18));
    cboFontName = new QComboBox(group);
    name(cboFontName, "cboFontName", QStringLiteral("字体设置"));
    cboFontName->addItems(installedFonts());
    cboFontName->setGeometry(80, 86, 294, 22);

    labelAt(QStringLiteral("字体颜色"), group, QRect(12, 121, 64, 18));
    edtFontColor = new QLabel(QStringLiteral("打印字体颜色示例"), group);
    name(edtFontColor, "edtFontColor", QStringLiteral("字体颜色"));
    edtFontColor->setFrameShape(QFrame::StyledPanel);
    edtFontColor->setAutoFillBackground(true);
    edtFontColor->setGeometry(80, 118, 294, 22);
    QPushButton *choose =
        buttonAt("Button1", QStringLiteral("选择"), group, QRect(384, 116, 64, 26));
    connect(choose, &QPushButton::clicked, this, &SettingsDialog::pickFontColor);

    QPushButton *calibrate =
        buttonAt("btnCalibrate", QStringLiteral("打印校准页"), group, QRect(468, 116, 100, 26));
    connect(calibrate, &QPushButton::clicked, this, &SettingsDialog::printCalibrationPage);
}

void SettingsDialog::addListEditor(QWidget *group, int column, const QString &caption,
                                   const ListSetting &setting, const char *stem,
                                   const char *addName, const char *deleteName)
{
    const int left = 8 + column * 126;
    labelAt(caption, group, QRect(left, 20, 118, 18));
    auto *entry = new QLineEdit(group);
    name(entry, (QByteArray("edt") + stem).constData(), caption);
    entry->setGeometry(left, 40, 118, 22);
    auto *list = new QListWidget(group);
    name(list, (QByteArray("lst") + stem).constData(), caption);
    list->setGeometry(left, 66, 118, 148);
    QPushButton *add = buttonAt(addName, QStringLiteral("添加"), group, QRect(left, 220, 56, 26));
    QPushButton *remove =
        buttonAt(deleteName, QStringLiteral("删除"), group, QRect(left + 62, 220, 56, 26));

    connect(add, &QPushButton::clicked, this, [entry, list] {
        const QString text = trimmed(entry->text());
        if (text.isEmpty())
            return;
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().compare(text, Qt::CaseInsensitive) == 0)
                return;
        }
        list->addItem(text);
    });
    entry->installEventFilter(new EnterAdds(add, entry));
    connect(remove, &QPushButton::clicked, this, [list] {
        const QList<QListWidgetItem *> selected = list->selectedItems();
        if (!selected.isEmpty())
            delete list->takeItem(list->row(selected.front()));
    });
    m_lists.append({&setting, entry, list});
}

void SettingsDialog::buildListGroup()
{
    auto *group = new QGroupBox(QStringLiteral("基础设置"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    group->setGeometry(8, 162, 642, 256);
    addListEditor(group, 0, QStringLiteral("签注信息"), Setting::MakeText, "MakeText", "Button2",
                  "Button3");
    addListEditor(group, 1, QStringLiteral("填开单位"), Setting::company, "Company", "Button4",
                  "Button5");
    addListEditor(group, 2, QStringLiteral("Office号"), Setting::OfficeNo, "OfficeNo", "Button6",
                  "Button7");
    addListEditor(group, 3, QStringLiteral("单位代码"), Setting::CompanyCode, "CompanyCode",
                  "Button8", "Button9");
    addListEditor(group, 4, QStringLiteral("提示信息"), Setting::information, "Information",
                  "Button13", "Button14");
}

void SettingsDialog::buildOtherGroup()
{
    auto *group = new QGroupBox(QStringLiteral("其它设置"), this);
    group->setObjectName(QStringLiteral("GroupBox3"));
    group->setGeometry(8, 424, 300, 54);
    chkStorage = new QCheckBox(QStringLiteral("记忆信息"), group);
    name(chkStorage, "chkStorage", QStringLiteral("记忆信息"));
    chkStorage->setToolTip(QStringLiteral("软件会记忆上次的信息"));
    chkStorage->setGeometry(12, 22, 200, 22);
}

void SettingsDialog::loadOffset(int stored, QSlider *bar, QLineEdit *box)
{
    // The bar clamps, the box does not: an offset beyond ±50 (typed and saved
    // earlier) shows as stored with the bar at its end, and "确定" keeps it.
    const qint64 position = qint64(stored) + offsetMiddle;
    bar->setValue(int(std::clamp<qint64>(position, bar->minimum(), bar->maximum())));
    box->setText(QString::number(stored));
}

void SettingsDialog::showFontColor(int color)
{
    m_fontColor = color;
    QPalette palette = edtFontColor->palette();
    palette.setColor(QPalette::WindowText, colorOf(color));
    palette.setColor(QPalette::Window, Qt::white);
    edtFontColor->setPalette(palette);
}

void SettingsDialog::loadSettings()
{
    // What prints: the stored values, or the defaults where they are unusable.
    const Settings settings = Settings::from(PrivateConfig(false, m_settingsFolder).snapshot());
    loadOffset(settings.value(Setting::vpos), trbVPos, edtVPos);
    loadOffset(settings.value(Setting::hpos), trbHPos, edtHPos);
    cboFontCnSize->setEditText(QString::number(settings.value(Setting::fontcnsize)));
    cboFontEnSize->setEditText(QString::number(settings.value(Setting::fontensize)));
    cboFontName->setCurrentIndex(
        cboFontName->findText(settings.value(Setting::fontname), Qt::MatchFixedString));
    showFontColor(settings.value(Setting::fontcolor));

    for (const ListEditor &editor : std::as_const(m_lists)) {
        editor.list->clear();
        editor.list->addItems(settings.value(*editor.setting));
    }
    chkStorage->setChecked(settings.value(Setting::Storage));
}

void SettingsDialog::pickFontColor()
{
    const QColor chosen = m_pickColor(colorOf(m_fontColor), this);
    if (chosen.isValid())
        showFontColor(bgrOf(chosen));
}

void SettingsDialog::saveAndClose()
{
    MessageBox::guarded(this, [this] {
        PrivateConfig::Values values = {
            {Setting::vpos.key, edtVPos->text()},
            {Setting::hpos.key, edtHPos->text()},
            {Setting::fontcnsize.key, cboFontCnSize->currentText()},
            {Setting::fontensize.key, cboFontEnSize->currentText()},
            {Setting::fontname.key,
             cboFontName->currentIndex() >= 0 ? cboFontName->currentText() : QString()},
            {Setting::fontcolor.key, QString::number(m_fontColor)},
        };
        for (const ListEditor &editor : std::as_const(m_lists)) {
            QStringList entries;
            for (int row = 0; row < editor.list->count(); ++row)
                entries.append(editor.list->item(row)->text());
            values.append({editor.setting->key, toDelimitedText(entries)});
        }
        values.append({Setting::Storage.key,
                       chkStorage->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
        // One replacement of the file: all twelve keys, or on a refusal none.
        PrivateConfig(true, m_settingsFolder).setStrs(values);
        accept();
    });
}

void SettingsDialog::restoreDefaults()
{
    if (!MessageBox::askOkCancel(this, QStringLiteral("是否恢复默认设置？")))
        return;
    MessageBox::guarded(this, [this] {
        PrivateConfig::Values values;
        for (const NumberSetting *number : {&Setting::vpos, &Setting::hpos, &Setting::fontcnsize,
                                            &Setting::fontensize, &Setting::fontcolor})
            values.append({number->key, QString::number(number->defaultValue)});
        values.append({Setting::fontname.key, Setting::fontname.defaultValue});
        PrivateConfig(true, m_settingsFolder).setStrs(values);
        loadSettings();
    });
}

void SettingsDialog::printCalibrationPage()
{
    MessageBox::guarded(this, [this] {
        PrintSettings settings = PrintSettings::read(m_settingsFolder);
        // The offsets being tried, saved or not.
        settings.vpos = edtVPos->text().trimmed().toInt();
        settings.hpos = edtHPos->text().trimmed().toInt();
        ReportPage page;
        drawCalibrationPage(page, settings);
        // The window hands in its way to paper; a dialog on its own has none.
        if (m_printPage)
            m_printPage(page);
    });
}
