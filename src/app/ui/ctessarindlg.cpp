#include "app/ui/ctessarindlg.h"

#include "app/core/hostplacement.h"
#include "app/ui/caboutbox.h"
#include "grid/widget/cgridwidget.h"
#include "platform/cstringtable.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Wide enough for the row commands in one line beside the list.
constexpr int kNormalWidth = 960;

QString Text(int stringId)
{
    return QString::fromStdString(CStringTable::Load(stringId));
}

} // namespace

CTessarinDlg::CTessarinDlg(const CStartupOptions& options, QWidget* parent) : QDialog(parent), m_options(options)
{
    setWindowTitle(QStringLiteral("Tessarin"));
    // A main window, not a pop-up: it can be minimised and maximised like one.
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    BuildNormalLayout();
    if (m_options.editMode)
        ApplyEditModeLayout();
}

template <class T>
T* CTessarinDlg::Make(int id, const char* name, T* widget)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setProperty("controlId", id);
    m_controls[id] = widget;
    return widget;
}

QPushButton* CTessarinDlg::MakeButton(int id, const char* name, const QString& caption)
{
    auto* button = Make(id, name, new QPushButton(caption, this));
    button->setAutoDefault(false);
    return button;
}

QWidget* CTessarinDlg::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CTessarinDlg::BuildNormalLayout()
{
    using namespace ControlId;
    // Left: the legends and the commands that add or remove whole legends.
    m_legendsGroup = Make(LegendsGroup, "legendsGroup", new QGroupBox(QStringLiteral("Legends"), this));
    m_list = Make(LegendList, "legendList", new QListWidget(m_legendsGroup));
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(MakeButton(New, "newButton", QStringLiteral("New")));
    listButtons->addWidget(MakeButton(Import, "importButton", QStringLiteral("Import")));
    listButtons->addWidget(MakeButton(Delete, "deleteButton", QStringLiteral("Delete")));
    auto* groupLayout = new QVBoxLayout(m_legendsGroup);
    groupLayout->addWidget(m_list);
    groupLayout->addLayout(listButtons);

    // Top right: the header of the chosen legend.
    m_name = Make(Name, "nameField", new QLineEdit(this));
    m_description = Make(Description, "descriptionField", new QLineEdit(this));
    m_filename = Make(Filename, "filenameField", new QLineEdit(this));
    m_dataType = Make(DataType, "dataTypeField", new QLineEdit(this));
    for (QLineEdit* readOnly : {m_name, m_filename, m_dataType})
        readOnly->setReadOnly(true);
    m_readOnly = Make(ReadOnly, "readOnlyLabel", new QLabel(QStringLiteral("READ ONLY"), this));
    m_readOnly->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    m_readOnly->hide();
    m_autoPopulate = Make(AutoPopulate, "autoPopulate", new QCheckBox(QStringLiteral("Auto-populate \"From\" fields"), this));
    auto* header = new QGridLayout;
    header->addWidget(Make(NameLabel, "nameLabel", new QLabel(QStringLiteral("Legend name"), this)), 0, 0);
    header->addWidget(m_name, 0, 1);
    header->addWidget(Make(DescriptionLabel, "descriptionLabel", new QLabel(QStringLiteral("Description"), this)), 1, 0);
    header->addWidget(m_description, 1, 1);
    header->addWidget(Make(FilenameLabel, "filenameLabel", new QLabel(QStringLiteral("Filename"), this)), 2, 0);
    header->addWidget(m_filename, 2, 1);
    header->addWidget(Make(DataTypeLabel, "dataTypeLabel", new QLabel(QStringLiteral("Data type"), this)), 3, 0);
    header->addWidget(m_dataType, 3, 1);
    m_spreadsheet = Make(ControlId::Spreadsheet, "spreadsheet", new CGridWidget(this));

    // Below the spreadsheet: what changes rows.
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(MakeButton(InsertRow, "insertRowButton", QStringLiteral("Insert row")));
    rowButtons->addWidget(MakeButton(AddRow, "addRowButton", QStringLiteral("Add row")));
    rowButtons->addWidget(MakeButton(DeleteRows, "deleteRowsButton", QStringLiteral("Delete rows")));
    rowButtons->addWidget(MakeButton(Duplicate, "duplicateButton", QStringLiteral("Duplicate")));
    rowButtons->addSpacing(12);
    rowButtons->addWidget(MakeButton(RgbInterp, "rgbInterpButton", QStringLiteral("RGB Interp")));
    rowButtons->addWidget(MakeButton(HslInterp, "hslInterpButton", QStringLiteral("HSL Interp")));
    rowButtons->addWidget(MakeButton(OklabInterp, "oklabInterpButton", QStringLiteral("OKLab Interp")));
    rowButtons->addWidget(MakeButton(StepPatterns, "stepPatternsButton", QStringLiteral("Step patterns")));
    rowButtons->addStretch(1);

    QPushButton* save = MakeButton(Save, "saveButton", QStringLiteral("Save"));
    save->setDefault(true);
    QPushButton* saveAs = MakeButton(SaveAs, "saveAsButton", QStringLiteral("Save As..."));
    QPushButton* close = MakeButton(Close, "closeButton", QStringLiteral("Close"));
    QPushButton* help = MakeButton(Help, "helpButton", QStringLiteral("Help..."));
    QPushButton* settings = MakeButton(Settings, "settingsButton", QStringLiteral("Settings..."));

    auto* headerSide = new QVBoxLayout;
    auto* fileButtons = new QHBoxLayout;
    if (!m_options.editMode) {
        headerSide->addWidget(settings);
        headerSide->addWidget(m_autoPopulate);
        headerSide->addWidget(m_readOnly);
        fileButtons->addWidget(help);
        fileButtons->addStretch(1);
        fileButtons->addWidget(save);
        fileButtons->addWidget(saveAs);
        fileButtons->addWidget(close);
    } else {
        // One legend, opened by its host for editing: the file commands sit
        // beside the header, where the list's commands would have been.
        headerSide->addWidget(save);
        headerSide->addWidget(saveAs);
        headerSide->addWidget(close);
        headerSide->addWidget(m_readOnly);
        fileButtons->addWidget(help);
        fileButtons->addWidget(settings);
        fileButtons->addStretch(1);
        fileButtons->addWidget(m_autoPopulate);
    }
    headerSide->addStretch(1);
    auto* headerRow = new QHBoxLayout;
    headerRow->addLayout(header, 1);
    headerRow->addLayout(headerSide);

    auto* right = new QVBoxLayout;
    right->addLayout(headerRow);
    right->addWidget(m_spreadsheet, 1);
    right->addLayout(rowButtons);

    auto* body = new QHBoxLayout;
    body->addWidget(m_legendsGroup, 0);
    body->addLayout(right, 1);

    auto* outer = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    QMenu* helpMenu = menuBar->addMenu(QStringLiteral("&Help"));
    QAction* helpAction = helpMenu->addAction(QStringLiteral("&Help..."), this, &CTessarinDlg::OpenHelp);
    helpAction->setShortcut(QKeySequence::HelpContents);
    const QString about = Text(Str::AboutMenu);
    if (!about.isEmpty())
        m_aboutAction = helpMenu->addAction(about, this, &CTessarinDlg::ShowAbout);
    outer->setMenuBar(menuBar);
    outer->addLayout(body, 1);
    outer->addLayout(fileButtons);

    m_legendsGroup->setMinimumWidth(220);
    connect(static_cast<QPushButton*>(Control(Help)), &QPushButton::clicked, this, &CTessarinDlg::OpenHelp);
    resize(kNormalWidth, 620);
}

void CTessarinDlg::ApplyEditModeLayout()
{
    using namespace ControlId;
    for (int id : {LegendList, LegendsGroup, New, Import, Delete}) {
        Control(id)->hide();
        Control(id)->setEnabled(false);
    }
    resize(kNormalWidth - 184, height());
}

void CTessarinDlg::OpenHelp()
{
    const std::optional<CHelpTarget> target = HelpTargetFor(
        m_options.hostCode, ReadInstallationFolder, QCoreApplication::applicationDirPath().toStdString());
    if (!target)
        return;
    // A help file that does not exist is the viewer's to report.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(target->path)));
}

void CTessarinDlg::ShowAbout()
{
    CAboutBox box(m_options.hostCode >= 1 && m_options.hostCode <= 9 ? m_options.hostCode : 0, windowIcon(), this);
    box.exec();
}
