#include "app/ui/csettingsdlg.h"

#include "app/ui/cqtfilechooser.h"
#include "platform/ctextcodec.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Row = CSettingsRules::Row;

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent), m_Chooser(QtFileChooser(this))
{
    using namespace SettingsControl;
    setWindowTitle(QStringLiteral("Settings"));
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 360);
    const RowControls rows[] = {
        {Row::LegendFolder, "Location of Legend files:", "legendFolder", 0, LegendFolder,
         LegendFolderBrowse},
        {Row::PatternFolder, "Location of patterns:", "patternFolder", 0, PatternFolder,
         PatternFolderBrowse},
        {Row::PenFile, "Pen file:", "penFile", PenFileLabel, PenFile, PenFileBrowse},
        {Row::TABLocation, "Location of TAB file:", "tabLocation", TABLocationLabel, TABLocation, 0},
    };
    int line = 0;
    for (const RowControls& row : rows)
        AddRow(grid, line++, row);
    auto* box = new QVBoxLayout(this);
    box->addLayout(grid);

    auto* buttons = new QDialogButtonBox(this);
    m_Controls.Add(Ok, "ok", buttons->addButton(QDialogButtonBox::Ok));
    m_Controls.Add(Cancel, "cancel", buttons->addButton(QDialogButtonBox::Cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    box->addWidget(buttons);
}

void CSettingsDlg::AddRow(QGridLayout* grid, int line, const RowControls& row)
{
    const std::string name = row.name;
    auto* caption = new QLabel(QString::fromLatin1(row.label), this);
    if (row.labelId)
        m_Controls.Add(row.labelId, (name + "Label").c_str(), caption);
    auto* edit = m_Controls.Add(row.editId, row.name, new QLineEdit(this));
    edit->setReadOnly(true);
    caption->setBuddy(edit);
    grid->addWidget(caption, line, 0);
    grid->addWidget(edit, line, 1);
    if (!row.browseId)
        return;
    auto* browse = m_Controls.AddBrowse(row.browseId, (name + "Browse").c_str(), this);
    grid->addWidget(browse, line, 2);
    connect(browse, &QPushButton::clicked, this, [this, r = row.row] {
        if (m_Rules && m_Rules->Browse(r, m_Chooser))
            ShowValues();
    });
}

std::optional<CSettingsDialog::Values> CSettingsDlg::Run(const Values& current,
                                                         const std::string& productText,
                                                         bool hostRows)
{
    using namespace SettingsControl;
    m_Rules = std::make_unique<CSettingsRules>(current, hostRows, productText);
    const bool penRow = m_Rules->Shows(Row::PenFile);
    for (int id : {PenFileLabel, PenFile, PenFileBrowse})
        Control(id)->setVisible(penRow);
    const bool tabRow = m_Rules->Shows(Row::TABLocation);
    for (int id : {TABLocationLabel, TABLocation})
        Control(id)->setVisible(tabRow);
    ShowValues();
    adjustSize();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_Rules->Values();
}

void CSettingsDlg::ShowValues()
{
    using namespace SettingsControl;
    const Values& v = m_Rules->Values();
    const auto show = [this](int id, const std::string& text) {
        static_cast<QLineEdit*>(Control(id))->setText(QString::fromStdString(CTextCodec::ToUtf8(text)));
    };
    show(LegendFolder, v.legendFolder);
    show(PatternFolder, v.patternFolder);
    show(PenFile, v.penFile);
    show(TABLocation, v.tabPath);
}
