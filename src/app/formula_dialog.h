#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace orvane::app {

// "Enter Formula": a formula typed as text, with this run's earlier formulas to pick from
// and, while typing, a preview of how the table will read it. Modeless; "OK" (also the
// Enter key) is reported by okClicked(), every change of the text by textChanged(); the
// main window does the rest. "Cancel", like closing the window, only hides it.
class FormulaDialog : public QDialog {
    Q_OBJECT

public:
    explicit FormulaDialog(QWidget* parent = nullptr);

    /// Shows the dialog with the earlier formulas (newest first) and `text` selected, and
    /// brings it to the front.
    void openWith(const QStringList& history, const QString& text);
    QString text() const;
    /// The preview line: the formula as read and its weight, or a refusal in red.
    /// Shows the preview under the text, red when refused; a long run without blanks (a
    /// sequence quoted in a refusal) may wrap anywhere, so that all of it can be read.
    void showPreview(const QString& preview, bool refused);
    /// Puts the cursor before the character at `position` (counted from 1) of the text, where
    /// a refusal names its fault.
    void showFault(int position);
    QComboBox* formulaBox() const { return m_formula; }
    QLabel* previewLine() const { return m_preview; }

signals:
    void okClicked();
    void textChanged(const QString& text);

private:
    QComboBox* m_formula;
    QLabel* m_preview;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace orvane::app
