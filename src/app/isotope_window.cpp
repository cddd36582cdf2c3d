#include "app/isotope_window.h"

#include <QAction>
#include <QMenuBar>
#include <QTableView>

#include "app/grid_view_setup.h"
#include "app/window_geometry.h"

namespace orvane::app {

namespace {

const QString designedTitle =
    QStringLiteral("Numerical Data of the Isotopic Abundances Used (These can be "
                   "modified by editting the file!)");
const QRect designedFrame(192, 107, 870, 640);
constexpr int rowHeight = 16;
constexpr int columnWidth = 45;

} // namespace

IsotopeWindow::IsotopeWindow(const data::TextGrid& isotopes, QWidget* parent)
    : QMainWindow(parent), m_model(isotopes), m_grid(new QTableView(this)) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(designedTitle);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);

    QAction* close1 = menuBar()->addAction(QStringLiteral("Close"));
    close1->setObjectName(QStringLiteral("Close1"));
    close1->setShortcut(Qt::Key_F9);
    connect(close1, &QAction::triggered, this, &IsotopeWindow::Close1Click);

    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setModel(&m_model);
    setUpGridView(*m_grid, rowHeight, columnWidth);
    setCentralWidget(m_grid);

    keepDesignedFrame(*this, designedFrame, FramePlace::Designed);
}

void IsotopeWindow::refresh() {
    m_model.refresh();
}

void IsotopeWindow::showDataFolder(const QString& folder) {
    // The designed title while the data files are those of the folder Orvane started in.
    const QString title = folder.isEmpty()
                              ? designedTitle
                              : designedTitle + QStringLiteral(" - data files from ") + folder;
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

void IsotopeWindow::Close1Click() {
    if (isVisible()) {
        hide();
    }
}

} // namespace orvane::app
