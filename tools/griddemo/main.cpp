// A window with a filled grid: a header row and a row-number column, numeric
// and text columns, sort on header click, in-place editing and the clipboard.

#include "grid/widget/cgridwidget.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <csignal>
#include <string>

namespace {

// Shows the last notification in a status line.
class CDemoOwner : public CGridOwner {
public:
    explicit CDemoOwner(QLabel* status) : m_pStatus(status) {}
    int OnGridNotify(const CGridNotification& n) override
    {
        QString line = QStringLiteral("notification %1 at row %2, column %3").arg(n.code).arg(n.row).arg(n.col);
        if (n.hasText)
            line += QStringLiteral(": ") + QString::fromUtf8(n.text.c_str());
        m_pStatus->setText(line);
        return 0;
    }

private:
    QLabel* m_pStatus;
};

const char* const kRocks[] = {"Sandstone", "Shale", "Limestone", "Granite", "Basalt", "Dolomite", "Marl"};

} // namespace

int main(int argc, char** argv)
{
    // As every program does: a file-size limit fails a save instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tessarin grid"));
    auto* layout = new QVBoxLayout(&window);
    auto* grid = new CGridWidget(&window);
    auto* status = new QLabel(QStringLiteral("Click, type, drag borders, Ctrl+C / Ctrl+V; click a heading to sort."));
    layout->addWidget(grid);
    layout->addWidget(status);
    CDemoOwner owner(status);

    CGridCtrl& g = grid->Grid();
    g.SetOwner(&owner);
    g.SetSortOnClick(true);
    const int rows = 200;
    const char* heads[] = {"Row", "From (>=)", "To (<)", "Label", "Count", "Comment"};
    g.SetRowCount(rows + 1);
    g.SetColumnCount(6);
    g.SetFixedRowCount(1);
    g.SetFixedColumnCount(1);
    for (int c = 0; c < 6; ++c)
        g.SetItemText(0, c, heads[c]);
    for (int r = 1; r <= rows; ++r) {
        g.SetItemText(r, 0, std::to_string(r));
        g.SetItemText(r, 1, std::to_string((r - 1) * 10));
        g.SetItemText(r, 2, std::to_string(r * 10));
        g.SetItemText(r, 3, kRocks[r % 7]);
        g.SetItemText(r, 4, std::to_string((r * 7919) % 1000));
        for (int c : {0, 1, 2, 4}) {
            g.GetCell(r, c)->SetNumeric(true);
            g.SetItemFormat(r, c, GridText::Right | GridText::DefaultFormat);
        }
    }
    g.SetColumnWidth(0, 48);
    g.SetColumnWidth(5, 200);
    g.SetFocusCell(1, 1);
    g.SetSelectedRange(1, 1, 1, 1);

    window.resize(640, 480);
    window.show();
    return app.exec();
}
