#include "app/charge_ladder_table.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "app/table_copy.h"
#include "session/ion_inputs.h"
#include "session/session.h"
#include "text/number_text.h"
#include "text/error.h"

namespace orvane::app {

ChargeLadderTable::ChargeLadderTable(session::Session& session, Dispatch dispatch, QWidget* parent)
    : QWidget(parent), m_session(session), m_dispatch(std::move(dispatch)),
      m_model(session.separator()) {
    setObjectName(QStringLiteral("ChargeStates"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Charge states"), this));
    top->addStretch();
    m_range = new QLineEdit(this);
    m_range->setObjectName(QStringLiteral("ChargeRange"));
    m_range->setMaximumWidth(70);
    m_range->setPlaceholderText(QStringLiteral("auto"));
    m_range->setToolTip(QStringLiteral(
        "Charges A-B (1 to 100); empty: those whose most abundant m/z lies in 300–3000, or "
        "in the measured spectrum's range"));
    top->addWidget(m_range);
    layout->addLayout(top);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("ChargeStateTable"));
    m_view->setModel(&m_model);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setMinimumSectionSize(24);
    setMinimumWidth(290);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setToolTip(QStringLiteral("Double-click a row to show that ion"));
    layout->addWidget(m_view, 1);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("ChargeStateProblem"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    layout->addWidget(m_problem);
    makeTableCopyable(*m_view);

    connect(m_range, &QLineEdit::editingFinished, this, [this] {
        const std::string typed = m_range->text().toStdString();
        if (typed != m_session.state().ladderRangeText) {
            m_dispatch([this, &typed] { m_session.setLadderRangeText(typed); });
        }
    });
    connect(m_view, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { chooseRow(index.row()); });
}

void ChargeLadderTable::refresh() {
    if (!m_range->hasFocus()) {
        m_range->setText(QString::fromStdString(m_session.state().ladderRangeText));
    }
    try {
        m_model.setRungs(m_session.currentLadder());
        m_problem->hide();
        const session::SessionState& state = m_session.state();
        if (m_model.rowCount() == 0 && !state.composition.elements.empty()) {
            // an empty list says why: no rung's most abundant m/z lies in the window
            const ions::MzWindow window = ions::ladderWindow(session::measuredPointsOf(state));
            m_problem->setText(
                QStringLiteral("No charge state of %1 has its most abundant m/z between %2 and "
                               "%3; a range such as 1-5 lists them.")
                    .arg(QString::fromStdString(state.ionText),
                         QString::fromStdString(
                             text::fixedText(window.low, 18, 1, m_session.separator())),
                         QString::fromStdString(
                             text::fixedText(window.high, 18, 1, m_session.separator()))));
            m_problem->show();
        }
    } catch (const text::Error& error) {
        m_model.setRungs({});
        m_problem->setText(QString::fromStdString(error.what()));
        m_problem->show();
    }
}

void ChargeLadderTable::chooseRow(int row) {
    if (row < 0 || row >= m_model.rowCount()) {
        return;
    }
    // a copy: the command refreshes the table, which replaces the rungs
    const ions::LadderRung rung = m_model.rungs()[static_cast<std::size_t>(row)];
    m_dispatch([this, &rung] { m_session.chooseLadderRung(rung); });
}

} // namespace orvane::app
