#pragma once

#include <QString>
#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace pairweb::ui {

// Texts of the site are Windows-1252 bytes; the controls hold Unicode. Paths are not texts
// of the site: they stay UTF-8, the file system's encoding.
QString fromSiteText(const std::string& bytes);
// Characters without a Windows-1252 byte are refused by the guarded controls; any that
// come here all the same become "?".
std::string toSiteText(const QString& text);

// Makes a control refuse characters that Windows-1252 lacks: a typed or pasted text that
// holds one is not taken, and a short note says why (shown as a tool tip, and kept in the
// control's property kRefusalNoteProperty).
void guardSiteText(QLineEdit* edit);
void guardSiteText(QComboBox* combo);
void guardSiteText(QPlainTextEdit* edit);

inline constexpr const char* kRefusalNoteProperty = "refusalNote";

// The note for a refused character.
QString refusalNote(char32_t c);

}  // namespace pairweb::ui
