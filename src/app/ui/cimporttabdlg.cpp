#include "app/ui/cimporttabdlg.h"

#include "app/ui/cqtfilechooser.h"
#include "platform/ctextcodec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// Names from tables of the original platform are Windows-1252 bytes.
QString Shown(const std::string& bytes)
{
    return QString::fromStdString(CTextCodec::ToUtf8(bytes));
}

} // namespace

CImportTABDlg::CImportTABDlg(CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_Prompt(prompt), m_Chooser(QtFileChooser(this))
{
    using namespace ImportControl;
    setWindowTitle(QStringLiteral("Import from TAB legend file"));
    m_InputFile = m_Controls.Add(InputFile, "inputFile", new QLineEdit(this));
    m_InputFile->setReadOnly(true);
    m_InputFile->setMinimumWidth(280);
    auto* browse = m_Controls.AddBrowse(Browse, "browse", this);
    m_LegendName = m_Controls.Add(LegendName, "legendName", new QComboBox(this));
    m_OutputFile = m_Controls.Add(OutputFile, "outputFile", new QLineEdit(this));

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    const auto addRow = [this, grid](int line, const char* text, QWidget* field) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(field);
        grid->addWidget(label, line, 0);
        grid->addWidget(field, line, 1);
    };
    addRow(0, "Filename:", m_InputFile);
    grid->addWidget(browse, 0, 2);
    addRow(1, "Legend name:", m_LegendName);
    addRow(2, "Output file:", m_OutputFile);

    auto* buttons = new QDialogButtonBox(this);
    m_Controls.Add(Ok, "ok", buttons->addButton(QDialogButtonBox::Ok));
    m_Controls.Add(Cancel, "cancel", buttons->addButton(QDialogButtonBox::Cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &CImportTABDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    box->addLayout(grid);
    box->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, [this] {
        ReadEdits();
        if (m_Rules->BrowseTable(m_Chooser))
            ShowChoices();
    });
    connect(m_LegendName, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_Rules->SelectLegend(index);
        ShowOutputName();
    });
}

std::optional<CImportTABDialog::Result> CImportTABDlg::Run(const std::string& productText)
{
    m_Rules = std::make_unique<CImportTABRules>(m_Prompt, productText);
    m_Result.reset();
    ShowChoices();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_Result;
}

void CImportTABDlg::accept()
{
    ReadEdits();
    m_Result = m_Rules->Accept();
    if (m_Result)
        QDialog::accept();
}

void CImportTABDlg::ReadEdits()
{
    m_Rules->SetOutputName(m_OutputFile->text().toStdString());
}

void CImportTABDlg::ShowChoices()
{
    m_InputFile->setText(Shown(m_Rules->TabPath()));
    {
        const QSignalBlocker quiet(m_LegendName);
        m_LegendName->clear();
        for (const std::string& name : m_Rules->Names())
            m_LegendName->addItem(Shown(name));
        m_LegendName->setCurrentIndex(m_Rules->Selected());
    }
    // A map-code table holds a single legend: there is nothing to pick.
    m_LegendName->setEnabled(!m_Rules->MapCode());
    ShowOutputName();
}

void CImportTABDlg::ShowOutputName()
{
    m_OutputFile->setText(Shown(m_Rules->OutputName()));
}
