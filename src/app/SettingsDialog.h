#pragma once

#include "settings/SettingDeclarations.h"
#include <QColor>

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class ReportPage;

// The settings dialog: print offsets, print font, sizes and colour, the five
// pick-lists of the receipt and the switch that remembers the receipt. It
// holds nothing but its controls: it reads them all from the settings file
// when it opens and writes them all back on "确定".
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // settingsFolder holds the settings file (the program's folder).
    explicit SettingsDialog(const QString &settingsFolder, QWidget *parent = nullptr);

    // Asks for a colour, starting from the given one; an invalid colour means
    // the user cancelled. The system colour dialog unless replaced (tests).
    using ColorPicker = std::function<QColor(const QColor &initial, QWidget *parent)>;
    void setColorPicker(ColorPicker picker) { m_pickColor = std::move(picker); }

    // Prints a page without a dialog; false when nothing was sent. The main
    // window hands in the program's one way to paper.
    using PagePrint = std::function<bool(const ReportPage &page)>;
    void setPagePrint(PagePrint print) { m_printPage = std::move(print); }

    // Reads every control from the settings file.
    void loadSettings();

    // "确定": writes every control, then closes with OK.
    void saveAndClose();
    // "恢复": after a confirming question, writes the print defaults and reloads.
    void restoreDefaults();
    // "选择": the font colour.
    void pickFontColor();
    // "打印校准页": the calibration page on plain A4, at the offsets the
    // dialog shows and the stored print font and sizes. Advances nothing.
    void printCalibrationPage();

private:
    struct ListEditor
    {
        const ListSetting *setting;
        QLineEdit *entry;
        QListWidget *list;
    };

    void buildPrintGroup();
    void buildListGroup();
    void buildOtherGroup();
    void addOffset(const QString &caption, const char *barName, const char *boxName, int top,
                   QSlider *&bar, QLineEdit *&box);
    void addListEditor(QWidget *group, int column, const QString &caption,
                       const ListSetting &setting, const char *stem, const char *addName,
                       const char *deleteName);
    void showFontColor(int color);
    void loadOffset(int stored, QSlider *bar, QLineEdit *box);

    QString m_settingsFolder;
    ColorPicker m_pickColor;
    PagePrint m_printPage;
    QSlider *trbHPos = nullptr;
    QLineEdit *edtHPos = nullptr;
    QSlider *trbVPos = nullptr;
    QLineEdit *edtVPos = nullptr;
    QComboBox *cboFontCnSize = nullptr;
    QComboBox *cboFontEnSize = nullptr;
    QComboBox *cboFontName = nullptr;
    QLabel *edtFontColor = nullptr;
    int m_fontColor = 0; // 0x00BBGGRR
    QList<ListEditor> m_lists;
    QCheckBox *chkStorage = nullptr;
};
