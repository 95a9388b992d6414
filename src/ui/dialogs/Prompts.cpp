#include "Prompts.h"

#include "OptionsForm.h"
#include "SelectDirForm.h"
#include "SystemColors.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

namespace kestrund {

namespace {
// Description and pattern pairs of a filter.
QList<QPair<QString, QString>> FilterPairs(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QList<QPair<QString, QString>> pairs;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        pairs.append({parts[i], parts[i + 1]});
    return pairs;
}

QString QtEntry(const QPair<QString, QString>& pair)
{
    // The description names its patterns in brackets; Qt reads them from there, separated by blanks.
    QString description = pair.first;
    const int open = description.lastIndexOf(" (");
    if (open >= 0 && description.endsWith(')'))
        description.truncate(open);
    QString patterns = pair.second;
    patterns.replace(';', ' ');
    return description + " (" + patterns + ")";
}

QString Folder(const std::string& dir)
{
    return QString::fromStdString(dir);
}

// "*.til" and ".til" and "til" all mean the extension "til".
QString Extension(const std::string& defaultExt)
{
    QString ext = QString::fromStdString(defaultExt);
    while (ext.startsWith('*') || ext.startsWith('.'))
        ext.remove(0, 1);
    return ext;
}

QString StartPath(const TFileDialogRequest& request)
{
    const QString name = QString::fromStdString(request.FileName);
    if (name.isEmpty() || name.contains('*'))
        return Folder(request.InitialDir);
    return Folder(request.InitialDir) + "/" + name;
}

std::optional<std::string> Run(QWidget* parent, const TFileDialogRequest& request, bool save)
{
    QFileDialog dialog(parent, QString::fromStdString(request.Title), StartPath(request), QtFilter(request.Filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save && !request.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QString selected = QtSelectedFilter(request.Filter, request.FilterIndex);
    if (!selected.isEmpty())
        dialog.selectNameFilter(selected);
    // A name typed without an extension takes the chosen filter's.
    dialog.setDefaultSuffix(DefaultSuffixOf(dialog.selectedNameFilter(), request.DefaultExt));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& entry) {
        dialog.setDefaultSuffix(DefaultSuffixOf(entry, request.DefaultExt));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}
} // namespace

QString QtFilter(const std::string& filter)
{
    QStringList entries;
    for (const auto& pair : FilterPairs(filter))
        entries << QtEntry(pair);
    return entries.join(";;");
}

QString QtSelectedFilter(const std::string& filter, int index)
{
    const auto pairs = FilterPairs(filter);
    if (index < 1 || index > pairs.size())
        return {};
    return QtEntry(pairs[index - 1]);
}

QString DefaultSuffixOf(const QString& entry, const std::string& defaultExt)
{
    // The first pattern in the brackets, when it names an extension.
    const int open = entry.lastIndexOf('(');
    const QString first = entry.mid(open + 1).section(QRegularExpression("[ ;,)]"), 0, 0);
    if (first.startsWith("*.") && first.size() > 2 && !first.mid(2).contains('*'))
        return first.mid(2);
    return Extension(defaultExt);
}

std::string WithDefaultExtension(const std::string& fileName, const std::string& defaultExt)
{
    const QString ext = Extension(defaultExt);
    if (ext.isEmpty() || !QFileInfo(QString::fromStdString(fileName)).suffix().isEmpty())
        return fileName;
    return fileName + "." + ext.toStdString();
}

std::optional<std::string> TQtPrompts::OpenFile(const TFileDialogRequest& request)
{
    return Run(FParent, request, false);
}

std::optional<std::string> TQtPrompts::SaveFile(const TFileDialogRequest& request)
{
    return Run(FParent, request, true);
}

int TQtPrompts::Message(const std::string& text, TMsgType type, int buttons)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (type) {
    case TMsgType::Error: icon = QMessageBox::Critical; break;
    case TMsgType::Warning: icon = QMessageBox::Warning; break;
    case TMsgType::Information: icon = QMessageBox::Information; break;
    case TMsgType::Confirmation: icon = QMessageBox::Question; break;
    }
    QMessageBox::StandardButtons qtButtons;
    if (buttons & mbOK)
        qtButtons |= QMessageBox::Ok;
    if (buttons & mbCancel)
        qtButtons |= QMessageBox::Cancel;
    if (buttons & mbYes)
        qtButtons |= QMessageBox::Yes;
    if (buttons & mbNo)
        qtButtons |= QMessageBox::No;
    // The messages break lines with LF CR; a lone CR would show as a box.
    QString shown = QString::fromStdString(text);
    shown.replace("\n\r", "\n").replace('\r', '\n');
    QMessageBox box(icon, QApplication::applicationName(), shown, qtButtons, FParent);
    switch (box.exec()) {
    case QMessageBox::Ok: return mbOK;
    case QMessageBox::Yes: return mbYes;
    case QMessageBox::No: return mbNo;
    default: return mbCancel;
    }
}

TRecoveryChoice TQtPrompts::AskRecovery(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::NoButton, FParent);
    QPushButton* recover = box.addButton("Recover", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Discard", QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton("Later", QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    box.exec();
    return box.clickedButton() == recover   ? TRecoveryChoice::Recover
           : box.clickedButton() == discard ? TRecoveryChoice::Discard
                                            : TRecoveryChoice::Later;
}

std::optional<TColor> TQtPrompts::ChooseColor(TColor initial)
{
    const QColor chosen = QColorDialog::getColor(ColorToQColor(initial), FParent);
    if (!chosen.isValid())
        return std::nullopt;
    return QColorToColor(chosen);
}

void TQtPrompts::About(const std::string& title, const std::string& text)
{
    QMessageBox::about(FParent, QString::fromStdString(title), QString::fromStdString(text));
}

void TQtPrompts::CreateDialogs(const std::string& iniPath)
{
    FImportTGA = new TImportTGAForm(iniPath, FParent);
    FProperty = new TPropertyForm(*this, iniPath, FParent);
    FProperty->SetImportTGAChooser([this](const TImportTGARequest& request) { return ImportTGA(request); });
    FSelectDir = new TSelectDirForm(iniPath, FParent);
    FOptions = new TOptionsForm(iniPath, FParent);
    FOptions->SetDirectoryChooser([this](const std::string& start) -> std::optional<std::string> {
        if (!FSelectDir)
            return std::nullopt;
        return RunSelectDir(*FSelectDir, start);
    });
}

std::optional<TOptionsValues> TQtPrompts::Options(const TOptionsRequest& request)
{
    if (!FOptions || !FProperty)
        return std::nullopt;
    TOptionsRequest shown = request;
    shown.Values.ImportTransparent = FProperty->ImportTransparent();
    shown.Values.ImportShadow = FProperty->ImportShadow();
    shown.Values.ImportPreviewBG = FProperty->PreviewBackground();
    shown.Values.PersistentColors = FProperty->PersistentColors();
    shown.Values.AlwaysUseDefault = FProperty->AlwaysUseDefault();
    if (request.ResetIni)
        shown.ResetIni = [this, reset = request.ResetIni] {
            reset();
            // Every dialog takes its section from the emptied file, so none writes its old values back.
            if (FImportTGA)
                FImportTGA->ReadSettings();
            if (FProperty)
                FProperty->ReadSettings();
            if (FSelectDir)
                FSelectDir->ReadSettings();
        };
    const std::optional<TOptionsValues> chosen = RunOptionsForm(*FOptions, shown);
    if (chosen) {
        FProperty->SetImportShadow(chosen->ImportShadow);
        FProperty->SetImportTransparent(chosen->ImportTransparent);
        FProperty->SetPreviewBackground(chosen->ImportPreviewBG);
        FProperty->SetPersistentColors(chosen->PersistentColors);
        FProperty->SetAlwaysUseDefault(chosen->AlwaysUseDefault);
        FProperty->SaveImportColors();
    }
    return chosen;
}

std::optional<TElementEditResult> TQtPrompts::EditElement(const TElementEditRequest& request)
{
    if (!FProperty)
        return std::nullopt;
    return RunPropertyForm(*FProperty, request);
}

std::optional<TImportTGAResult> TQtPrompts::ImportTGA(const TImportTGARequest& request)
{
    if (!FImportTGA)
        return std::nullopt;
    return RunImportTGA(*FImportTGA, request);
}

} // namespace kestrund
