// A window with a filled grid: a header row and a row-number column, numeric
// and text columns, a column of fill patterns and one of line samples drawn
// by their own cell class, sort on header click, in-place editing and the
// clipboard. `--screenshot OUT.png` draws the window off screen into OUT.png
// and exits, for a look without a display.

#include "grid/widget/cgridwidget.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Shows the last notification in a status line.
class CDemoOwner : public CGridOwner {
public:
    explicit CDemoOwner(QLabel* status) : m_Status(status) {}
    int OnGridNotify(const CGridNotification& n) override
    {
        QString line = QStringLiteral("notification %1 at row %2, column %3").arg(n.code).arg(n.row).arg(n.col);
        if (n.hasText)
            line += QStringLiteral(": ") + QString::fromUtf8(n.text.c_str());
        m_Status->setText(line);
        return 0;
    }

private:
    QLabel* m_Status;
};

const char* const kRocks[] = {"Sandstone", "Shale", "Limestone", "Granite", "Basalt", "Dolomite", "Marl"};

const char* const kComments[] = {"", "fine grained", "from the 2019 survey", "weathered at the top"};

constexpr int kPatternCol = 6;
constexpr int kLineCol = 7;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// Patterns 1..7; 0 is "no pattern" and shows "N".
const std::vector<CGridBitmap>& Patterns()
{
    static const std::vector<CGridBitmap> patterns = {
        CGridBitmap(),
        CGridBitmap::FromRows({"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.",
                               ".......#"}), // hatch
        CGridBitmap::FromRows({"#...#...", "........", "........", "........", "#...#...", "........", "........",
                               "........"}), // dots
        CGridBitmap::FromRows({"#######.", "......#.", "......#.", "......#.", "#######.", "..#.....", "..#.....",
                               "..#....."}), // bricks
        CGridBitmap::FromRows({"#...#...", ".#.#.#.#", "..#...#.", ".#.#.#.#", "#...#...", ".#.#.#.#", "..#...#.",
                               ".#.#.#.#"}), // diagonal cross
        CGridBitmap::FromRows({"########", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......",
                               "#......."}), // square grid
        CGridBitmap::FromRows({"##..##..", "##..##..", "..##..##", "..##..##", "##..##..", "##..##..", "..##..##",
                               "..##..##"}), // checks
    };
    return patterns;
}

const uint32_t kFillColours[] = {GridRGB(200, 40, 40), GridRGB(30, 110, 200), GridRGB(40, 150, 60),
                                 GridRGB(150, 90, 30), GridRGB(130, 50, 160)};
const uint32_t kLineColours[] = {GridRGB(120, 70, 20), GridRGB(110, 40, 150), GridRGB(190, 30, 30),
                                 GridRGB(20, 100, 190), GridRGB(30, 140, 50)};

// Fill-pattern and line-sample cells; every other cell draws as a plain one.
// The item data holds the pattern or line style number, the third colour the
// foreground (pattern) or line colour.
class CDemoStyleCell : public CGridCell {
public:
    bool Draw(CGridPainter& painter, int row, int col, CGridRect rect, bool eraseBkgnd) override
    {
        if (row < 1 || (col != kPatternCol && col != kLineCol))
            return CGridCell::Draw(painter, row, col, rect, eraseBkgnd);
        if (rect.IsEmpty())
            return false;
        // The cell's pixels end before its grid lines at right and bottom.
        painter.FillRect(rect, kWhite);
        painter.PushClip(rect);
        if (col == kPatternCol)
            DrawPattern(painter, rect);
        else
            DrawLineSample(painter, rect);
        painter.PopClip();
        if (IsFocused())
            painter.FrameRect(rect, kBlack);
        else if (IsSelected() && m_grid)
            painter.FrameRect(rect, m_grid->GetSystemColours().highlight);
        return true;
    }

private:
    void DrawPattern(CGridPainter& painter, const CGridRect& rect)
    {
        const int number = GetData();
        if (number <= 0 || number >= static_cast<int>(Patterns().size())) {
            painter.DrawText(rect, "N", GridText::Center | GridText::VCenter | GridText::SingleLine, kBlack,
                             GetFont());
            return;
        }
        CGridRect inner = rect;
        inner.Deflate(2, 2);
        painter.FillPattern(inner, Patterns()[static_cast<size_t>(number)], GetClr(), kWhite);
    }

    void DrawLineSample(CGridPainter& painter, const CGridRect& rect)
    {
        const int left = rect.left + 5, right = rect.right - 5, y = (rect.top + rect.bottom) / 2;
        const uint32_t colour = GetClr();
        switch (GetData() % 5) {
        case 0: // solid
            painter.DrawPolyline({{left, y}, {right, y}}, 2, colour);
            break;
        case 1: // dashed
            for (int x = left; x < right; x += 10)
                painter.DrawPolyline({{x, y}, {std::min(x + 6, right), y}}, 2, colour);
            break;
        case 2: // with ticks below
            painter.DrawPolyline({{left, y - 2}, {right, y - 2}}, 1, colour);
            for (int x = left + 3; x < right; x += 8)
                painter.DrawPolyline({{x, y - 2}, {x, y + 4}}, 1, colour);
            break;
        case 3: // a thrust front: filled teeth on the line
            painter.DrawPolyline({{left, y + 3}, {right, y + 3}}, 1, colour);
            for (int x = left; x + 8 <= right; x += 12)
                painter.FillPolygon({{x, y + 3}, {x + 8, y + 3}, {x + 4, y - 4}}, colour, std::nullopt);
            break;
        default: // a zig-zag
            std::vector<CGridPoint> points;
            for (int x = left, up = 0; x <= right; x += 4, up ^= 1)
                points.push_back({x, up ? y - 3 : y + 3});
            painter.DrawPolyline(points, 1, colour);
            break;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    // As every program does: a file-size limit fails a save instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QString screenshot;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--screenshot") && i + 1 < args.size()) {
            screenshot = args[++i];
        } else {
            std::fprintf(stderr, "usage: tessarin-griddemo [--screenshot OUT.png]\n");
            return 2;
        }
    }

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
    g.SetCellType<CDemoStyleCell>();
    const int rows = 200;
    const char* heads[] = {"Row", "From (>=)", "To (<)", "Label", "Count", "Pattern", "Pattern", "Line", "Comment"};
    const int widths[] = {40, 76, 52, 84, 52, 40, 60, 92, 200};
    const int columns = 9;
    g.SetRowCount(rows + 1);
    g.SetColumnCount(columns);
    g.SetFixedRowCount(1);
    g.SetFixedColumnCount(1);
    for (int c = 0; c < columns; ++c) {
        g.SetItemText(0, c, heads[c]);
        g.SetColumnWidth(c, widths[c]);
    }
    g.SetItemText(0, 5, "No.");
    for (int r = 1; r <= rows; ++r) {
        g.SetRowHeight(r, 25);
        const int pattern = r % static_cast<int>(Patterns().size());
        const uint32_t colour = kFillColours[(r / 2) % 5];
        g.SetItemText(r, 0, std::to_string(r));
        g.SetItemText(r, 1, std::to_string((r - 1) * 10));
        g.SetItemText(r, 2, std::to_string(r * 10));
        g.SetItemText(r, 3, kRocks[r % 7]);
        g.SetItemText(r, 4, std::to_string((r * 7919) % 1000));
        g.SetItemText(r, 5, std::to_string(pattern));
        g.SetItemText(r, 8, kComments[r % 4]);
        g.SetItemData(r, kPatternCol, pattern);
        g.GetCell(r, kPatternCol)->SetClr(colour);
        g.SetItemData(r, kLineCol, r - 1);
        g.GetCell(r, kLineCol)->SetClr(kLineColours[(r - 1) % 5]);
        // The drawn columns take no typing; sorting them by text means nothing.
        for (int c : {kPatternCol, kLineCol})
            g.SetItemState(r, c, g.GetItemState(r, c) | GridState::ReadOnly);
        for (int c : {0, 1, 2, 4, 5}) {
            g.GetCell(r, c)->SetNumeric(true);
            g.SetItemFormat(r, c, GridText::Right | GridText::DefaultFormat);
        }
    }
    g.SetFocusCell(1, 1);
    g.SetSelectedRange(1, 1, 1, 1);

    window.resize(720, 480);
    window.show();
    if (!screenshot.isEmpty()) {
        QApplication::processEvents();
        const QImage shot = window.grab().toImage();
        if (!shot.save(screenshot, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", screenshot.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }
    return app.exec();
}
