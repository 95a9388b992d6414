#pragma once
// The log window: the log file of the last script import as read-only text, beside the
// main window. Created hidden at start-up; keeps its place, word wrap and stay-on-top
// setting in the LogWindow section of the settings file.

#include <QWidget>

#include <cstdint>
#include <string>

class QAction;
class QPlainTextEdit;
class QPushButton;

namespace kestrund {

class TErrorLogForm : public QWidget {
    Q_OBJECT
public:
    TErrorLogForm(const std::string& iniPath, QWidget* parent = nullptr);
    ~TErrorLogForm() override; // writes the LogWindow section

    // Logs above this size are left to an external viewer: a plain-text control lays out
    // every line, and beyond a few megabytes that takes seconds with the window frozen.
    static constexpr std::uintmax_t DefaultMaxLogBytes = 8u << 20;
    void SetMaxLogBytes(std::uintmax_t bytes) { FMaxLogBytes = bytes; }

    enum class TLoadResult { Loaded, TooLarge, Unreadable };
    // Replaces the text with the whole file (Windows-1252, CR LF lines). Loading is all or
    // nothing: a file it cannot take leaves the text empty, never an older log's.
    TLoadResult LoadFromFile(const std::string& fileName);
    void Clear();
    QString Text() const;

    void SetStayOnTop(bool on);
    void SetWordWrap(bool on);
    void ReadSettings();
    void WriteSettings();

private:
    std::string FIniPath;
    std::uintmax_t FMaxLogBytes = DefaultMaxLogBytes;
    QAction* aStayOnTop = nullptr;
    QAction* aWordWrap = nullptr;
    QPlainTextEdit* mErrLog = nullptr;
    QPushButton* btnClose = nullptr;
    QPushButton* btnHelp = nullptr;
};

// Windows-1252 bytes as text, CR LF and lone CR line ends as line feeds.
QString LogText(const QByteArray& bytes);

} // namespace kestrund
