#include "app/formula_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::app {

FormulaDialog::FormulaDialog(QWidget* parent)
    : QDialog(parent, Qt::Tool), m_formula(new QComboBox(this)), m_preview(new QLabel(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("FormulaDialog"));
    setWindowTitle(QStringLiteral("Enter Formula"));
    setModal(false);

    m_formula->setObjectName(QStringLiteral("FormulaBox"));
    m_formula->setEditable(true);
    // The history is the session's: the box lists it and adds nothing of its own.
    m_formula->setInsertPolicy(QComboBox::NoInsert);
    m_formula->setMinimumContentsLength(28);
    m_formula->setDuplicatesEnabled(false);
    connect(m_formula, &QComboBox::editTextChanged, this, &FormulaDialog::textChanged);

    m_preview->setObjectName(QStringLiteral("Preview"));
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setWordWrap(true);
    m_preview->setMinimumHeight(3 * m_preview->fontMetrics().height());

    m_ok->setObjectName(QStringLiteral("OK"));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &FormulaDialog::okClicked);

    m_cancel->setObjectName(QStringLiteral("Cancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &FormulaDialog::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_formula);
    layout->addWidget(m_preview);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void FormulaDialog::openWith(const QStringList& history, const QString& text) {
    m_formula->blockSignals(true);
    m_formula->clear();
    m_formula->addItems(history);
    m_formula->blockSignals(false);
    m_formula->setEditText(text);
    emit textChanged(text);
    m_formula->lineEdit()->selectAll();
    show();
    raise();
    activateWindow();
    m_formula->setFocus(Qt::OtherFocusReason);
}

QString FormulaDialog::text() const {
    return m_formula->currentText();
}

namespace {

// The label wraps at blanks only: a zero-width space after every so many characters of a
// longer run lets it wrap there too.
QString breakableText(const QString& text) {
    constexpr int longestRun = 32;
    QString breakable;
    int run = 0;
    for (const QChar c : text) {
        breakable += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run == longestRun) {
            breakable += QChar(0x200B);
            run = 0;
        }
    }
    return breakable;
}

} // namespace

void FormulaDialog::showFault(int position) {
    QLineEdit* line = m_formula->lineEdit();
    line->deselect();
    line->setCursorPosition(std::clamp(position - 1, 0, static_cast<int>(line->text().size())));
    m_formula->setFocus(Qt::OtherFocusReason);
}

void FormulaDialog::showPreview(const QString& preview, bool refused) {
    m_preview->setText(breakableText(preview));
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::WindowText, refused ? QColor(200, 0, 0) : QColor(Qt::black));
    m_preview->setPalette(palette);
    // a longer preview (a refusal, a notice) gets the lines it needs; the dialog does not
    // shrink back while the text is typed, so that it does not jump under the cursor
    if (QLayout* lines = layout(); lines != nullptr && lines->hasHeightForWidth()) {
        lines->activate();
        const int needed = lines->totalHeightForWidth(width());
        if (needed > height()) {
            resize(width(), needed);
        }
    }
}

} // namespace orvane::app
