#include "ImportTGAForm.h"

#include "ColorMenu.h"
#include "FolderList.h"
#include "Help.h"
#include "IniFile.h"
#include "MainSettings.h"
#include "SystemColors.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrund {

namespace {

const char* const kSection = "ImportTGAWindow";

QString Cleaned(const QString& folder)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(folder));
}

// Filter captions and masks, as pairs separated by bars.
const char* const kFilter = "TrueVission Targa ('.tga)|*.tga|All files (*.*)|*.*";

} // namespace

TImportTGAForm::TImportTGAForm(const std::string& iniPath, QWidget* parent)
    : QDialog(parent), FIniPath(iniPath)
{
    setObjectName("ImportTGAForm");
    setWindowTitle("Load TGA File");
    setSizeGripEnabled(true);
    setMinimumSize(500, 372);

    FColorMenu = new ColorMenu(this);
    FColorMenu->setObjectName("ColorMenu");
    connect(FColorMenu, &ColorMenu::ColorChosen, this, &TImportTGAForm::MenuColorChosen);

    FileListBox = new QListWidget;
    FileListBox->setObjectName("FileListBox");
    FileListBox->setStatusTip("Select Ffile");
    connect(FileListBox, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) { FileSelected(item); });
    connect(FileListBox, &QListWidget::itemDoubleClicked, this, &TImportTGAForm::OkClicked);

    auto* right = new QWidget;
    auto* rightLayout = new QHBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(FileListBox, 1);
    rightLayout->addWidget(BuildPreviewColumn());

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName("Splitter1");
    splitter->setChildrenCollapsible(false);
    pLeft = new TFolderList;
    pLeft->setObjectName("pLeft");
    pLeft->setMinimumWidth(100);
    connect(pLeft, &TFolderList::FolderSelected, this, &TImportTGAForm::ListFiles);
    splitter->addWidget(pLeft);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);

    auto* lFileName = new QLabel("File &Name");
    lFileName->setObjectName("lFileName");
    eFName = new QLineEdit("*.tga");
    eFName->setObjectName("eFName");
    eFName->setStatusTip("Type a file Name");
    lFileName->setBuddy(eFName);
    auto* lFileType = new QLabel("File &Type");
    lFileType->setObjectName("lFileType");
    FilterComboBox1 = new QComboBox;
    FilterComboBox1->setObjectName("FilterComboBox1");
    FilterComboBox1->setStatusTip("Select a file type");
    const QStringList filter = QString(kFilter).split('|');
    for (qsizetype i = 0; i + 1 < filter.size(); i += 2)
        FilterComboBox1->addItem(filter[i], filter[i + 1]);
    lFileType->setBuddy(FilterComboBox1);
    connect(FilterComboBox1, &QComboBox::activated, this, &TImportTGAForm::FilterChosen);

    btnOK = new QPushButton("&OK");
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TImportTGAForm::OkClicked);
    btnCancel = new QPushButton("&Cancel");
    btnCancel->setObjectName("btnCancel");
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* btnHelp = new QPushButton("&Help");
    btnHelp->setObjectName("btnHelp");
    btnHelp->setAutoDefault(false);
    connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelpContext(300); });
    setProperty("HelpContext", 300);
    InstallHelpKeys(this);

    auto* bottom = new QGridLayout;
    bottom->addWidget(lFileName, 0, 0);
    bottom->addWidget(eFName, 0, 1);
    bottom->addWidget(btnOK, 0, 2);
    bottom->addWidget(lFileType, 1, 0);
    bottom->addWidget(FilterComboBox1, 1, 1);
    bottom->addWidget(btnCancel, 1, 2);
    bottom->addWidget(btnHelp, 2, 2);
    bottom->setColumnStretch(1, 1);
    bottom->setContentsMargins(6, 0, 6, 0);

    sbInfo = new QStatusBar;
    sbInfo->setObjectName("sbInfo");
    sbInfo->setSizeGripEnabled(false);
    pHint = new QLabel;
    pHint->setObjectName("pHint");
    pHint->setFixedWidth(400);
    pInfo = new QLabel;
    pInfo->setObjectName("pInfo");
    pInfo->setMinimumWidth(50);
    sbInfo->addWidget(pHint);
    sbInfo->addWidget(pInfo, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(6);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(6, 0, 6, 0);
    top->addWidget(splitter);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    layout->addWidget(sbInfo);

    // Keys move through the window as it reads, left to right and down.
    QWidget* const order[] = {pLeft->findChild<QWidget*>("lbDir"), pLeft->findChild<QWidget*>("cbDrive"),
                              FileListBox, sbBGColor, sbShColor, sbPreViewBG, eFName, FilterComboBox1, btnOK, btnCancel,
                              btnHelp};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    SetPreviewBackgroundColor(clBtnFace);
    ShowPreview(QString());
    SetImportDirectory(QDir::currentPath().toStdString());
    eFName->setFocus();
    ReadSettings();
}

TImportTGAForm::~TImportTGAForm()
{
    WriteSettingsOnClose([this] { WriteSettings(); });
}

QWidget* TImportTGAForm::BuildPreviewColumn()
{
    auto* column = new QWidget;
    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* frame = new QFrame;
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setAutoFillBackground(true);
    frame->setFixedSize(PreviewWidth + 4, PreviewHeight + 4);
    pPreView = frame;
    pPreView->setObjectName("pPreView");
    lPreViewCaption = new QLabel(pPreView);
    lPreViewCaption->setObjectName("lPreViewCaption");
    lPreViewCaption->setAlignment(Qt::AlignCenter);
    lPreViewCaption->setGeometry(pPreView->rect());
    pbPreView = new QWidget(pPreView);
    pbPreView->setObjectName("pbPreView");
    pbPreView->setGeometry(2, 2, PreviewWidth, PreviewHeight);
    pbPreView->setStatusTip("Use <Ctrl> + L/R-click to select Background/Shadow Color");
    pbPreView->installEventFilter(this);
    grid->addWidget(pPreView, 0, 0, 1, 2, Qt::AlignHCenter);

    sbBGColor = AddColorButton("sbBGColor", "T&ransparant Color:", ctTransparent, grid);
    sbShColor = AddColorButton("sbShColor", "&Shadow Color:", ctShadow, grid);
    sbPreViewBG = AddColorButton("sbPreViewBG", "&PreView BG Color:", ctPreviewBackground, grid);
    grid->setRowStretch(grid->rowCount(), 1);
    return column;
}

QToolButton* TImportTGAForm::AddColorButton(const char* name, const char* caption, TColorTarget target,
                                            QGridLayout* grid)
{
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setIconSize(QSize(24, 15));
    button->setFocusPolicy(Qt::StrongFocus);
    // The label's Alt key clicks its buddy button, which opens the menu.
    auto* label = new QLabel(caption);
    label->setObjectName(QString("l") + (name + 2));
    label->setBuddy(button);
    connect(button, &QToolButton::clicked, this, [this, target, button] { ShowColorMenu(target, button); });
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(button, row, 1);
    return button;
}

void TImportTGAForm::ReadSettings()
{
    const TIniFile ini(FIniPath);
    ApplyPlacement(*this, ReadPlacement(ini, kSection, CentredOnPrimaryScreen(566, 377)));
}

void TImportTGAForm::WriteSettings()
{
    TExtIniFile ini(FIniPath);
    WritePlacement(ini, kSection, CurrentPlacement(*this), CentredOnPrimaryScreen(566, 377));
}

// ---- Browsing --------------------------------------------------------------------------------

void TImportTGAForm::SetImportDirectory(const std::string& directory)
{
    pLeft->OpenDirectory(QString::fromStdString(ExistingFolder(directory, QDir::homePath().toStdString())));
}

std::string TImportTGAForm::GetImportDirectory() const
{
    return QDir::toNativeSeparators(FListDir).toStdString();
}

std::string TImportTGAForm::GetImportFileName() const
{
    return QDir::toNativeSeparators(FChosenFile).toStdString();
}

void TImportTGAForm::ListFiles(const QString& folder)
{
    // Listed again, a folder keeps its selected file; another folder starts with none.
    const bool sameFolder = Cleaned(folder) == FListDir;
    FListDir = Cleaned(folder);
    const QString previous = sameFolder && FileListBox->currentItem() ? FileListBox->currentItem()->text() : QString();
    QStringList patterns;
    for (const std::string& pattern : MaskPatterns(FMask.toStdString()))
        patterns.append(QString::fromStdString(pattern));
    const QStringList files = QDir(FListDir).entryList(patterns, QDir::Files | QDir::Hidden | QDir::System,
                                                       QDir::Name | QDir::IgnoreCase);
    {
        const QSignalBlocker blocker(FileListBox);
        FileListBox->clear();
        FileListBox->addItems(files);
    }
    const qsizetype keep = files.indexOf(previous);
    if (keep >= 0) {
        FileListBox->setCurrentRow(int(keep));
        return;
    }
    FileSelected(nullptr);
    eFName->setText(FMask);
}

void TImportTGAForm::FileSelected(QListWidgetItem* item)
{
    if (!item) {
        FChosenFile.clear();
        ShowPreview(QString());
        return;
    }
    FChosenFile = QDir(FListDir).filePath(item->text());
    eFName->setText(item->text());
    ShowPreview(FChosenFile);
}

void TImportTGAForm::FilterChosen(int index)
{
    FMask = FilterComboBox1->itemData(index).toString();
    ListFiles(FListDir);
}

void TImportTGAForm::OkClicked()
{
    const QString text = eFName->text().trimmed();
    if (text.isEmpty() || (FileListBox->currentItem() && text == FileListBox->currentItem()->text())) {
        if (!FChosenFile.isEmpty())
            accept();
        return;
    }
    if (HasWildcards(text.toStdString())) {
        FMask = text;
        ListFiles(FListDir);
        return;
    }
    const QFileInfo typed(QDir(FListDir).absoluteFilePath(text));
    if (typed.isDir()) {
        pLeft->OpenDirectory(typed.absoluteFilePath());
        return;
    }
    if (!typed.isFile()) {
        pHint->setText(QString("\"%1\" not found").arg(text));
        eFName->selectAll();
        return;
    }
    if (Cleaned(typed.absolutePath()) != FListDir)
        pLeft->OpenDirectory(typed.absolutePath());
    const QList<QListWidgetItem*> listed = FileListBox->findItems(typed.fileName(), Qt::MatchExactly);
    if (!listed.isEmpty())
        FileListBox->setCurrentItem(listed.front());
    FChosenFile = Cleaned(typed.absoluteFilePath());
    accept();
}

// ---- Preview ---------------------------------------------------------------------------------

void TImportTGAForm::ShowPreview(const QString& fileName)
{
    FPreview = fileName.isEmpty() ? TTgaPreview() : LoadTgaPreview(QDir::toNativeSeparators(fileName).toStdString());
    const TPictureBuffer& picture = FPreview.Picture;
    if (picture.Width() > 0)
        FOffset = CentredOffset(PreviewWidth, PreviewHeight, picture.Width(), picture.Height());
    FPreviewImage = PreviewImage(picture, Resolved(FPreviewKey));
    pInfo->setText(QString::fromStdString(FPreview.Status));
    lPreViewCaption->setText(picture.Width() > 0 ? QString() : QString("No PreView"));
    pbPreView->update();
}

void TImportTGAForm::PaintPreview()
{
    if (FPreviewImage.isNull())
        return;
    QPainter painter(pbPreView);
    painter.drawImage(FOffset.X, FOffset.Y, FPreviewImage);
}

void TImportTGAForm::PickColor(const QPoint& position, Qt::MouseButton button)
{
    const std::optional<TColor> color = PickedColor(FPreview.Picture, FOffset, position.x(), position.y());
    if (!color)
        return;
    if (button == Qt::LeftButton)
        SetTransparentColor(*color);
    else if (button == Qt::RightButton)
        SetShadowColor(*color);
}

// ---- Colours ---------------------------------------------------------------------------------

TColor TImportTGAForm::Resolved(TColor color) const
{
    return IsSystemColor(color) ? QColorToColor(ColorToQColor(color, palette())) : color;
}

void TImportTGAForm::SetPreviewBackgroundColor(TColor color)
{
    FColors.PreviewBackground = color;
    ColorsChanged();
}

void TImportTGAForm::SetShadowColor(TColor color)
{
    const TColor transparent = FColors.Transparent;
    FColors.SetShadow(color, [this](TColor c) { return Resolved(c); });
    if (FColors.Transparent != transparent)
        FPreviewKey = FColors.Transparent;
    ColorsChanged();
}

void TImportTGAForm::SetTransparentColor(TColor color)
{
    FColors.SetTransparent(color, [this](TColor c) { return Resolved(c); });
    FPreviewKey = FColors.Transparent;
    ColorsChanged();
}

void TImportTGAForm::ColorsChanged()
{
    if (!sbPreViewBG)
        return; // a palette change while the window is being built
    static const QImage base = BlankSwatchGlyph();
    sbBGColor->setIcon(QPixmap::fromImage(ColorSwatchGlyph(base, FColors.Transparent, palette())));
    sbShColor->setIcon(QPixmap::fromImage(ColorSwatchGlyph(base, FColors.Shadow, palette())));
    sbPreViewBG->setIcon(QPixmap::fromImage(ColorSwatchGlyph(base, FColors.PreviewBackground, palette())));
    QPalette panel = pPreView->palette();
    panel.setColor(QPalette::Window, ColorToQColor(FColors.PreviewBackground, palette()));
    // The caption stays readable on any background.
    panel.setColor(QPalette::WindowText, panel.color(QPalette::Window).lightness() < 128 ? Qt::white : Qt::black);
    pPreView->setPalette(panel);
    FPreviewImage = PreviewImage(FPreview.Picture, Resolved(FPreviewKey));
    pbPreView->update();
}

void TImportTGAForm::SetColorChooser(std::function<std::optional<TColor>(TColor initial, QWidget* parent)> chooser)
{
    FColorMenu->SetColorChooser(std::move(chooser));
}

void TImportTGAForm::ShowColorMenu(TColorTarget target, QToolButton* button)
{
    FMenuTarget = target;
    FColorMenu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void TImportTGAForm::MenuColorChosen(TColor color)
{
    switch (FMenuTarget) {
    case ctTransparent:
        SetTransparentColor(color);
        break;
    case ctShadow:
        SetShadowColor(color);
        break;
    case ctPreviewBackground:
        SetPreviewBackgroundColor(color);
        break;
    }
}

// ---- Events ----------------------------------------------------------------------------------

bool TImportTGAForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        pHint->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    if (event->type() == QEvent::PaletteChange)
        ColorsChanged(); // system colours follow the desktop
    return QDialog::event(event);
}

bool TImportTGAForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pbPreView) {
        if (event->type() == QEvent::Paint) {
            PaintPreview();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->modifiers() & Qt::ControlModifier) {
                PickColor(mouse->position().toPoint(), mouse->button());
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<TImportTGAResult> RunImportTGA(TImportTGAForm& form, const TImportTGARequest& request)
{
    form.SetImportDirectory(request.Directory);
    form.SetPreviewBackgroundColor(request.PreviewBackground);
    form.SetShadowColor(request.Shadow);
    form.SetTransparentColor(request.Transparent);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return TImportTGAResult{form.GetImportFileName(), form.GetImportDirectory(), form.TransparentColor(),
                            form.ShadowColor(), form.PreviewBackgroundColor()};
}

} // namespace kestrund
