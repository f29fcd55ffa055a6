#include "app/ui/ctessarindlg.h"

#include "app/core/hostplacement.h"
#include "app/core/startupsequence.h"
#include "app/core/clegendedit.h"
#include "app/sheet/cmygridctrl.h"
#include "app/sheet/cpenfilesampler.h"
#include "app/sheet/crowcommands.h"
#include "app/ui/caboutbox.h"
#include "app/ui/cimporttabdlg.h"
#include "app/ui/csettingsdlg.h"
#include "grid/cgridinplaceeditor.h"
#include "grid/widget/cgridwidget.h"
#include "grid/widget/gridqtconvert.h"
#include "pickers/ccolourpopup.h"
#include "pickers/clinestylechooserdlg.h"
#include "pickers/cpatternchooserdlg.h"
#include "platform/cfilefacts.h"
#include "platform/cstringtable.h"
#include "platform/ctextcodec.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QFont>
#include <QFontMetrics>
#include <QShortcut>
#include <QSignalBlocker>
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
#include <QUndoCommand>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// Wide enough for the row commands in one line beside the list; edit mode
// narrows whatever width this settles at.
constexpr int kNormalWidth = 960;

QString Text(int stringId)
{
    return QString::fromStdString(CStringTable::Load(stringId));
}

// Legend text is kept as the bytes read: old files are Windows-1252, new ones UTF-8.
QString Shown(const std::string& bytes)
{
    return QString::fromStdString(CTextCodec::ToUtf8(bytes));
}

// A name in the list: a control character (a line break a file name may hold)
// is shown as an escape, so each legend keeps to one row.
QString Listed(const std::string& bytes)
{
    std::string shown;
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '\n')
            shown += "\\n";
        else if (ch == '\t')
            shown += "\\t";
        else if (byte < 0x20 || byte == 0x7F) {
            static const char kHex[] = "0123456789abcdef";
            shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else
            shown += ch;
    }
    return Shown(shown);
}

// A recorded change of the legend on Qt's undo stack; the flow does the work.
class CLegendUndoCommand : public QUndoCommand {
public:
    CLegendUndoCommand(CEditorFlow& flow, CLegendEdit edit) : m_flow(flow), m_edit(std::move(edit)) {}
    void undo() override { m_flow.ApplyEdit(m_edit, true); }
    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_done)
            m_flow.ApplyEdit(m_edit, false);
        m_done = true;
    }

private:
    CEditorFlow& m_flow;
    CLegendEdit m_edit;
    bool m_done = false;
};

// A list that takes the keyboard focus without choosing anything. Qt makes the
// first row current when a list with no current row gets the focus, and the
// window chooses the current row's legend: the legend named at start-up (one
// outside the listed folders, or one that failed to load) would be replaced
// by the first in the list as soon as the window became active.
class CLegendListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        if (currentIndex().isValid()) {
            QListWidget::focusInEvent(event);
            return;
        }
        const QSignalBlocker quiet(this);
        QListWidget::focusInEvent(event);
        selectionModel()->clearCurrentIndex();
    }
};

CEditorHostFlags FlagsOf(const CStartupOptions& o)
{
    CEditorHostFlags flags;
    flags.notify3D = o.Notify3D();
    flags.quarvex = o.Quarvex();
    flags.quarvex3D = o.Quarvex3D();
    flags.strativ = o.Strativ();
    flags.strativ3D = o.Strativ3D();
    flags.gisHost = o.gisHost;
    flags.gisHostProcessId = o.gisHostProcessId;
    return flags;
}

} // namespace

CTessarinDlg::CTessarinDlg(const CStartupOptions& options, CUserPrompt* prompt, QWidget* parent)
    : QDialog(parent), m_options(options), m_prompt(prompt ? prompt : &m_messageBoxes)
{
    setWindowTitle(QStringLiteral("Tessarin"));
    setWindowIcon(TessarinIcon());
    // A main window, not a pop-up: it can be minimised and maximised like one.
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    BuildNormalLayout();
    if (m_options.editMode)
        ApplyEditModeLayout();

    m_importDlg = new CImportTABDlg(*m_prompt, this);
    m_settingsDlg = new CSettingsDlg(this);
    CEditorFlow::Dialogs dialogs;
    dialogs.saveFile = this;
    dialogs.importTAB = m_importDlg;
    dialogs.settings = m_settingsDlg;
    m_flow = std::make_unique<CEditorFlow>(*m_prompt, *this, FlagsOf(m_options), dialogs);
    m_sheet->SetChangeFunction([this](const CMyGridCtrl::LegendChange& change) { m_flow->ChangeLegend(change); });
    m_sheet->SetMarkModifiedFunction([this] { m_flow->MarkModified(); });
    m_sheet->SetChooserHost(this);
    m_lineStyleSampler = std::make_unique<CPenFileSampler>([this] { return m_flow->PenFile(); });
    m_sheet->SetLineStyleSampler(m_lineStyleSampler.get());
    m_sheet->SetQuarvexOrStrativ(FlagsOf(m_options).UnderQuarvexOrStrativ());
    m_sheet->SetEditMode(m_options.editMode);
    connect(m_autoPopulate, &QCheckBox::toggled, this, [this](bool on) { m_sheet->SetAutoPopulate(on); });
    m_watcher = new QFileSystemWatcher(this);
    m_followTimer = new QTimer(this);
    m_followTimer->setSingleShot(true);
    m_followTimer->setInterval(250); // a save is a burst of changes: follow once it settles
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_followTimer, qOverload<>(&QTimer::start));
    connect(m_followTimer, &QTimer::timeout, this, [this] { m_flow->FollowFolders(); });
    m_undo = new QUndoStack(this);
    m_flow->SetHistory(this);
    // The saved (or loaded) state is the stack's clean state: undoing back to it
    // clears the modified flag, redoing away sets it again.
    connect(m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) { m_flow->SetModified(!clean); });
    QAction* undo = m_undo->createUndoAction(this, QStringLiteral("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_undo->createRedoAction(this, QStringLiteral("&Redo"));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    m_editMenu->addAction(undo);
    m_editMenu->addAction(redo);
    m_flow->SetProduct(m_options.hostCode == HostNone ? std::string() : HostProduct(m_options.hostCode));
    m_flow->SetTABPath(m_options.tabPath);
    if (!m_options.openLegendPath.empty())
        m_flow->OpenFile(m_options.openLegendPath);
    else
        m_flow->SetLegendToSelect(m_options.legendToSelect); // relative to the working folder
    ConnectCommands();
}

CTessarinDlg::~CTessarinDlg()
{
    // The undo stack is a child and outlives the flow; its last signals must
    // not reach the flow once that is gone.
    for (QObject* child : std::initializer_list<QObject*>{m_undo, m_list, m_description, m_watcher, m_followTimer})
        QObject::disconnect(child, nullptr, this, nullptr);
    m_spreadsheet->viewport()->removeEventFilter(this);
}

void CTessarinDlg::ConnectCommands()
{
    using namespace ControlId;
    auto button = [this](int id) { return static_cast<QPushButton*>(Control(id)); };
    connect(button(Save), &QPushButton::clicked, this, &CTessarinDlg::SaveKeepingView);
    connect(button(SaveAs), &QPushButton::clicked, this, [this] { m_flow->SaveAs(); });
    connect(button(Close), &QPushButton::clicked, this, &CTessarinDlg::reject);
    connect(button(Delete), &QPushButton::clicked, this, [this] { m_flow->Delete(); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_settingList)
            m_flow->ChooseLegend(row);
    });
    connect(m_description, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_flow->DescriptionEdited(text.toStdString()); });
    connect(button(Import), &QPushButton::clicked, this, [this] { m_flow->Import(); });
    connect(button(Settings), &QPushButton::clicked, this, [this] { m_flow->Settings(); });
    // The New legend dialog (a legend made from a data field) comes with its
    // own window; until then the button says so instead of doing nothing.
    button(New)->setEnabled(false);
    button(New)->setToolTip(QStringLiteral("Not available in this version"));
    m_rowCommands = std::make_unique<CRowCommands>(*m_sheet, *m_prompt);
    for (int id : {InsertRow, AddRow, DeleteRows, Duplicate, RgbInterp, HslInterp, OklabInterp, StepPatterns})
        connect(button(id), &QPushButton::clicked, this, [this, id] {
            m_rowCommands->OnButton(id);
            Redraw();
        });
    // Delete alone empties the focused cell, as in every grid; Ctrl+Delete in
    // the rows deletes the selected rows.
    auto* deleteRows = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Del")), m_spreadsheet, nullptr, nullptr,
                                     Qt::WidgetWithChildrenShortcut);
    button(DeleteRows)->setToolTip(QStringLiteral("Delete the selected rows (Ctrl+Del)"));
    connect(deleteRows, &QShortcut::activated, button(DeleteRows), [button] {
        if (button(DeleteRows)->isEnabled())
            button(DeleteRows)->click();
    });
    auto* saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, button(Save), &QPushButton::click);
    auto* saveAsKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")), this);
    connect(saveAsKey, &QShortcut::activated, button(SaveAs), &QPushButton::click);
}

void CTessarinDlg::SaveKeepingView()
{
    m_sheet->EndEditing();
    const int vertical = m_sheet->GetScrollPos(true), horizontal = m_sheet->GetScrollPos(false);
    const CCellID focus = m_sheet->GetFocusCell();
    const CCellRange selection = m_sheet->GetSelectedCellRange();
    const int rows = m_sheet->GetRowCount(), cols = m_sheet->GetColumnCount();
    m_flow->SaveButton();
    // Only the same legend read back has the same rows to show.
    if (m_sheet->GetRowCount() != rows || m_sheet->GetColumnCount() != cols)
        return;
    if (selection.IsValid())
        m_sheet->SetSelectedRange(selection);
    if (focus.row >= 0 && focus.col >= 0)
        m_sheet->SetFocusCell(focus);
    // Last: the focus cell may have scrolled itself into view.
    m_sheet->SetScrollPos(true, vertical);
    m_sheet->SetScrollPos(false, horizontal);
    Redraw();
}

void CTessarinDlg::Recorded(CLegendEdit edit)
{
    m_undo->push(new CLegendUndoCommand(*m_flow, std::move(edit)));
}

void CTessarinDlg::Reset()
{
    m_undo->clear();
}

void CTessarinDlg::Saved()
{
    m_undo->setClean();
}

void CTessarinDlg::OpenLegends()
{
    m_flow->Open();
    // Keys go where the work is: the list, or the one legend's rows in edit mode.
    if (m_options.editMode)
        m_spreadsheet->setFocus();
    else
        m_list->setFocus();
}

void CTessarinDlg::CloseWithoutAsking()
{
    m_closingWithoutAsking = true;
    reject();
}

void CTessarinDlg::reject()
{
    if (m_closingWithoutAsking || m_flow->Close())
        QDialog::reject();
}

void CTessarinDlg::SetHeader(const std::string& name, const std::string& fileName, const std::string& description,
                             const std::string& dataType)
{
    m_name->setText(Shown(name));
    m_filename->setText(Shown(fileName));
    m_description->setText(Shown(description));
    m_dataType->setText(Shown(dataType));
}

std::string CTessarinDlg::Description() const
{
    return m_description->text().toStdString();
}

void CTessarinDlg::ShowReadOnly(bool readOnly)
{
    m_readOnly->setVisible(readOnly);
}

void CTessarinDlg::EnableEditing(bool enable)
{
    using namespace ControlId;
    for (int id : std::initializer_list<int>{Name, ControlId::Description, RgbInterp, HslInterp, OklabInterp, StepPatterns, Duplicate,
                   InsertRow, AddRow, DeleteRows, Save})
        Control(id)->setEnabled(enable);
}

void CTessarinDlg::EnableAutoPopulate(bool enable)
{
    m_autoPopulate->setEnabled(enable);
}

void CTessarinDlg::EnableLegendCommands(bool legendShown)
{
    // Save As and Delete act on the legend shown: with none (nothing listed,
    // or a legend that could not be read) there is nothing to act on. Edit
    // mode has no Delete at all.
    Control(ControlId::SaveAs)->setEnabled(legendShown);
    Control(ControlId::Delete)->setEnabled(legendShown && !m_options.editMode);
}

void CTessarinDlg::FillSpreadsheet(const CLLLegend& legend)
{
    EnableLegendCommands(true);
    m_sheet->SetPenFile(m_flow->PenFile());
    m_sheet->FillFromLegend(legend, m_flow->IsReadOnly());
    // The widths were chosen for a smaller system font: a column the legend
    // shows is never narrower than its heading (hidden columns stay hidden),
    // and the value and label columns widen to their longest text, up to a
    // limit, so that common values are not cut.
    const QFontMetrics metrics(m_spreadsheet->font());
    const CSheetColumns& k = m_sheet->Columns();
    constexpr int kMaxTextWidth = 220;
    // The first rows tell the widths well enough; measuring every row of a
    // very long legend would slow its loading for nothing.
    constexpr int kMeasuredRows = 2000;
    const int measured = std::min(m_sheet->GetRowCount(), kMeasuredRows + 1);
    // At least `floor`: the heading's text in full, each other text up to `cap`.
    auto widest = [&](int col, int rows, int floor, int cap) {
        int needed = floor;
        for (int row = 0; row < rows; ++row) {
            const int advance = metrics.horizontalAdvance(GridToQString(m_sheet->GetItemText(row, col))) + 12;
            needed = std::max(needed, row == 0 ? advance : std::min(advance, cap));
        }
        return needed;
    };
    for (int col = 0; col < m_sheet->GetColumnCount(); ++col) {
        const int width = m_sheet->GetColumnWidth(col);
        if (width <= 0)
            continue;
        const bool text = col == k.from || col == k.to || col == k.label;
        const int needed = widest(col, text ? measured : 1, width, kMaxTextWidth);
        if (needed > width)
            m_sheet->SetColumnWidth(col, needed);
    }
    // The Comment column needs no more than its longest comment (up to the
    // width it was given) and takes whatever room the others leave.
    const int given = m_sheet->GetColumnWidth(k.comment);
    m_commentWidth = given > 0 ? widest(k.comment, measured, 0, given) : 0;
    FitCommentColumn();
}

void CTessarinDlg::FitCommentColumn()
{
    // The Comment column takes the room the others leave, so that it is not
    // cut at the right edge while the sheet has space to spare.
    const int comment = m_sheet->Columns().comment;
    if (comment < 0 || comment >= m_sheet->GetColumnCount() || m_commentWidth <= 0)
        return;
    int others = 0;
    for (int col = 0; col < m_sheet->GetColumnCount(); ++col)
        if (col != comment)
            others += std::max(0, m_sheet->GetColumnWidth(col));
    const int wanted = std::max(m_commentWidth, m_spreadsheet->viewport()->width() - others - 1);
    if (wanted != m_sheet->GetColumnWidth(comment)) {
        m_sheet->SetColumnWidth(comment, wanted);
        m_sheet->ResetScrollBars();
        m_sheet->Refresh();
    }
}

bool CTessarinDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_spreadsheet->viewport() && event->type() == QEvent::Resize)
        FitCommentColumn();
    return QDialog::eventFilter(watched, event);
}

void CTessarinDlg::ClearSpreadsheet()
{
    EnableLegendCommands(false);
    m_sheet->ClearSheet();
}

void CTessarinDlg::SetListItems(const std::vector<CLegendListItem>& items)
{
    m_settingList = true;
    m_list->clear();
    bool inGroup = false;
    for (const CLegendListItem& item : items) {
        auto* row = new QListWidgetItem(Listed(item.text), m_list);
        if (item.heading) {
            // Headings are drawn apart and never look selected; choosing one
            // moves the selection to a legend (the flow decides which).
            QFont bold = row->font();
            bold.setBold(true);
            row->setFont(bold);
            row->setForeground(palette().color(QPalette::PlaceholderText));
            inGroup = true;
        } else {
            row->setText((inGroup ? QStringLiteral("    ") : QString()) + row->text());
            row->setToolTip(Shown(item.path));
        }
    }
    m_settingList = false;
    if (m_flow)
        WatchListedFolders();
}

void CTessarinDlg::WatchListedFolders()
{
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    QStringList folders;
    for (const std::string& folder : m_flow->ListedFolders())
        if (QFileInfo(QString::fromStdString(folder)).isDir())
            folders << QString::fromStdString(folder);
    if (!folders.isEmpty())
        m_watcher->addPaths(folders);
}

void CTessarinDlg::SelectListItem(int index)
{
    m_settingList = true;
    m_list->setCurrentRow(index);
    m_settingList = false;
}

void CTessarinDlg::CommitPendingEdits()
{
    m_sheet->EndEditing();
}

void CTessarinDlg::CancelPendingEdits()
{
    const CCellID focus = m_sheet->GetFocusCell();
    CGridCellBase* cell = m_sheet->GetCell(focus.row, focus.col);
    if (cell && cell->IsEditing())
        if (CGridInPlaceEditor* editor = cell->GetEditWnd())
            editor->Abandon();
}

void CTessarinDlg::ReloadPatterns(const std::string& patternFolder)
{
    m_sheet->ReloadPatterns(patternFolder);
    m_spreadsheet->viewport()->update();
}

CGridPoint CTessarinDlg::ClientOrigin() const
{
    // The choosers open beside the clicked cell. The pop-up offsets were made
    // for a fixed layout whose spreadsheet stood 193 (in edit mode 11) by 123
    // pixels into the window; this layout puts it wherever the window's size
    // allows, so the origin handed out is the one that lands on the cell.
    const QPoint sheet = m_spreadsheet->viewport()->mapToGlobal(QPoint(0, 0));
    return {sheet.x() - (m_options.editMode ? 11 : 193), sheet.y() - 123};
}

void CTessarinDlg::OpenColourPicker(const CColourPickerRequest& request)
{
    // No default box; the column comes back as the tag, so the colour lands in it.
    auto* popup = new CColourPopup(request.colour, this, request.offerTransparent, QString(),
                                   Shown(request.customText), QPoint(request.at.x, request.at.y));
    popup->SetTag(request.col);
    connect(popup, &CColourPopup::selEndOK, this, [this](uint32_t colour, int32_t column) {
        m_sheet->ColourChosen(static_cast<int32_t>(colour), column);
        Redraw();
    });
    connect(popup, &CColourPopup::selEndCancel, this, [this] { Redraw(); });
}

void CTessarinDlg::OpenPatternChooser(const CPatternChooserRequest& request)
{
    CloseStyleChoosers();
    // The sheet's table is shared, so the pattern folder is read once, not at every opening.
    auto* chooser = new CPatternChooserDlg(request.at.x, request.at.y, request.patternFolder, request.row,
                                           request.col, request.patterns, request.pattern, this);
    m_patternChooser = chooser;
    connect(chooser, &CPatternChooserDlg::patternChosen, this,
            [this](int pattern, int, int) { m_sheet->PatternChosen(pattern); });
    connect(chooser, &CPatternChooserDlg::closed, this, [this, chooser] {
        if (m_patternChooser == chooser)
            m_patternChooser = nullptr;
        Redraw();
    });
}

void CTessarinDlg::OpenLineStyleChooser(const CLineStyleChooserRequest& request)
{
    CloseStyleChoosers();
    auto* chooser = new CLineStyleChooserDlg(request.at.x, request.at.y, request.penFile, request.row, request.col,
                                             request.lineStyle, *m_prompt, this);
    m_lineStyleChooser = chooser;
    connect(chooser, &CLineStyleChooserDlg::lineStyleChosen, this, [this](int style, int, int) {
        m_lineStyleChooser = nullptr;
        m_sheet->LineStyleChosen(style);
        Redraw();
    });
    connect(chooser, &CLineStyleChooserDlg::closed, this, [this] {
        m_lineStyleChooser = nullptr;
        Redraw();
    });
    chooser->Open();
}

void CTessarinDlg::CloseStyleChoosers()
{
    if (m_patternChooser)
        m_patternChooser->close();
    // A chooser closed because another cell was clicked has nothing to report.
    if (CLineStyleChooserDlg* chooser = m_lineStyleChooser) {
        m_lineStyleChooser = nullptr;
        chooser->disconnect(this);
        chooser->close();
    }
}

void CTessarinDlg::Redraw()
{
    m_spreadsheet->viewport()->update();
}

std::optional<std::string> CTessarinDlg::Run(const Request& request)
{
    const std::string start = request.folder + request.fileName;
    // The dialog adds ".leg" to a name typed without an extension before it
    // asks about replacing a file, so the question is about the file written.
    QFileDialog dialog(this, QStringLiteral("Save As"),
                       QFile::decodeName(QByteArray(start.data(), static_cast<qsizetype>(start.size()))),
                       QStringLiteral("Legend files (*.leg)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("leg"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // File names are bytes: a name of an older installation is no UTF-8, and
    // must come back as the same bytes, not as a second file.
    const QByteArray bytes = QFile::encodeName(dialog.selectedFiles().constFirst());
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
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
    m_list = Make(LegendList, "legendList", new CLegendListWidget(m_legendsGroup));
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(MakeButton(New, "newButton", QStringLiteral("New")));
    listButtons->addWidget(MakeButton(Import, "importButton", QStringLiteral("Import")));
    listButtons->addWidget(MakeButton(Delete, "deleteButton", QStringLiteral("Delete")));
    auto* groupLayout = new QVBoxLayout(m_legendsGroup);
    groupLayout->addWidget(m_list);
    groupLayout->addLayout(listButtons);

    // Top right: the header of the chosen legend.
    m_name = Make(Name, "nameField", new QLineEdit(this));
    m_description = Make(ControlId::Description, "descriptionField", new QLineEdit(this));
    m_filename = Make(Filename, "filenameField", new QLineEdit(this));
    m_dataType = Make(DataType, "dataTypeField", new QLineEdit(this));
    // A legend may hold texts longer than a line edit's usual limit; cutting
    // them would change the file on the next save.
    for (QLineEdit* field : {m_name, m_description, m_filename, m_dataType})
        field->setMaxLength(std::numeric_limits<int>::max());
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
    auto sheet = std::make_unique<CMyGridCtrl>();
    m_sheet = sheet.get();
    m_spreadsheet = Make(ControlId::Spreadsheet, "spreadsheet", new CGridWidget(this, std::move(sheet)));
    m_spreadsheet->viewport()->installEventFilter(this);

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
    QMenu* editMenu = menuBar->addMenu(QStringLiteral("&Edit"));
    m_editMenu = editMenu;
    QMenu* helpMenu = menuBar->addMenu(QStringLiteral("&Help"));
    QAction* helpAction = helpMenu->addAction(QStringLiteral("&Help..."), this, &CTessarinDlg::OpenHelp);
    helpAction->setShortcut(QKeySequence::HelpContents);
    // Hosts without a help file: Help and F1 say so by being disabled.
    const bool hasHelp = HelpTargetFor(m_options.hostCode, nullptr, std::string()).has_value();
    helpAction->setEnabled(hasHelp);
    help->setEnabled(hasHelp);
    const QString about = Text(Str::AboutMenu);
    if (!about.isEmpty())
        m_aboutAction = helpMenu->addAction(about, this, &CTessarinDlg::ShowAbout);
    outer->setMenuBar(menuBar);
    outer->addLayout(body, 1);
    outer->addLayout(fileButtons);

    m_legendsGroup->setMinimumWidth(220);
    connect(static_cast<QPushButton*>(Control(ControlId::Help)), &QPushButton::clicked, this, &CTessarinDlg::OpenHelp);
    resize(kNormalWidth, 620);
}

void CTessarinDlg::ApplyEditModeLayout()
{
    // The window is built from Qt layouts, not from the fixed control
    // rectangles in dialog units of the original dialog template: those were
    // drawn for one system font, and captions in another font or language
    // would be cut. So edit mode hides the list and its commands, lets the
    // layouts close the gap, and keeps the rule that matters to the hosts: the
    // window is 184 pixels narrower than it would be with the list. The width
    // is taken once the normal layout has settled, not from a constant, so a
    // font that widens the window widens both.
    using namespace ControlId;
    layout()->activate();
    const int normalWidth = width();
    for (int id : {LegendList, LegendsGroup, New, Import, Delete}) {
        Control(id)->hide();
        Control(id)->setEnabled(false);
    }
    layout()->activate();
    resize(normalWidth - 184, height());
}

void CTessarinDlg::OpenHelp()
{
    const CHelpDecision help =
        DecideHelp(m_options.hostCode, ReadInstallationFolder, QCoreApplication::applicationDirPath().toStdString(),
                   [](const std::string& path) { return CFileFacts::IsFile(path) && CFileFacts::IsReadable(path); });
    if (help.action == CHelpDecision::Action::None)
        return;
    // No help viewer stands by here to report a missing file, nor a file no
    // program opens: the user learns it from us rather than from silence.
    const QString absolute = QFileInfo(QFile::decodeName(QByteArray::fromStdString(help.path))).absoluteFilePath();
    if (help.action == CHelpDecision::Action::CannotOpen || !QDesktopServices::openUrl(QUrl::fromLocalFile(absolute)))
        m_prompt->ShowFixed("Could not open " + help.path);
}

void CTessarinDlg::ShowAbout()
{
    CAboutBox box(m_options.hostCode >= 1 && m_options.hostCode <= 9 ? m_options.hostCode : 0, windowIcon(), this);
    box.exec();
}
