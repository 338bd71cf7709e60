#pragma once

#include <QString>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace pairweb::ui {

// Makes a control refuse characters that Windows-1252 lacks (texts of the site are
// Windows-1252): a typed or pasted text that holds one is not taken, and a short note says
// why (shown as a tool tip, and kept in the control's property kRefusalNoteProperty).
void guardSiteText(QLineEdit* edit);
void guardSiteText(QComboBox* combo);
void guardSiteText(QPlainTextEdit* edit);

inline constexpr const char* kRefusalNoteProperty = "refusalNote";

}  // namespace pairweb::ui
