#pragma once
// A shown CGridWidget with a filled grid, for tests that drive real Qt events.

#include "grid/gridfakes.h"
#include "grid/widget/cgridwidget.h"
#include "grid/widget/cinplaceedit.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QTest>

#include <gtest/gtest.h>

// Made on first use, ended before static destruction, while Qt's own globals are still there.
struct CQtTestEnvironment : testing::Environment {
    static inline QApplication* app = nullptr;
    void TearDown() override { delete app, app = nullptr; }
};

inline const bool kQtTestEnvironmentAdded = (testing::AddGlobalTestEnvironment(new CQtTestEnvironment), true);

inline QApplication& TestApp()
{
    static int argc = 1;
    static char name[] = "grid-tests";
    static char* argv[] = {name, nullptr};
    if (!CQtTestEnvironment::app)
        CQtTestEnvironment::app = new QApplication(argc, argv);
    return *CQtTestEnvironment::app;
}

struct CAppFirst {
    CAppFirst() { TestApp(); }
};

// (1 + rows) x (1 + cols), cells 60 x 22, texts "r<row>c<col>", 400 x 300.
struct CWidgetFixture : CAppFirst {
    CRecordingOwner owner;
    CGridWidget widget;

    explicit CWidgetFixture(int rows = 20, int cols = 5, QWidget* parent = nullptr) : widget(parent)
    {
        CGridCtrl& grid = widget.Grid();
        grid.SetOwner(&owner);
        grid.SetControlId(1008);
        FillGrid(grid, rows, cols, 60, 22);
        if (!parent) {
            widget.resize(400, 300);
            Show(&widget);
        }
    }
    static void Show(QWidget* window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        (void)QTest::qWaitForWindowExposed(window);
    }
    QWidget* Viewport() { return widget.viewport(); }
    QPoint Centre(int row, int col)
    {
        CGridRect r;
        widget.Grid().GetCellRect(row, col, r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(int row, int col, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(Viewport(), Qt::LeftButton, modifiers, Centre(row, col));
    }
    // Lets closed editors go away.
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

// A grid above a line edit, for the focus leaving the grid; the window is made first and goes last.
struct CGridAboveLineEdit : CAppFirst {
    QWidget window;
    CWidgetFixture f;
    QLineEdit* below;

    CGridAboveLineEdit(int rows, int cols, int width, int height) : f(rows, cols, &window)
    {
        auto* layout = new QVBoxLayout(&window);
        below = new QLineEdit(&window);
        layout->addWidget(&f.widget);
        layout->addWidget(below);
        window.resize(width, height);
        CWidgetFixture::Show(&window);
    }
};
