#include "reports/widgets/header_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>
#include <cmath>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "common/prompts.h"
#include "common/settings_store.h"
#include "document/structure_document.h"
#include "reports/adapters/report_painting.h"
#include "reports/light_report.h"

namespace pelvoro {

namespace {

QString framed(const std::string& key) {
    return QStringLiteral("  ") + toQt(LangText(key)) + QStringLiteral("  ");
}

}  // namespace

TfrmHeader::TfrmHeader(SettingsStore& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmHeader");
    rules_ = std::make_unique<ReportTextRules>(lightReportTextRules());
    editor_ = std::make_unique<ReportHeaderEditor>(settings, prompts, *rules_);
    buildControls();
    translateCaptions();
    dtpDate_->setDate(QDate::currentDate());
    if (auto logo = settings.readString("LogoImage"); logo && !logo->empty()) {
        QPixmap picture(pathToQt(*logo));
        if (!picture.isNull())
            if (auto* im = logoFrame_->findChild<QLabel*>("imLogo")) im->setPixmap(picture);
    }
    // The insert and clear buttons of the (hidden) logo area.
    connect(btnInsLogo_, &QPushButton::clicked, this, [this, &settings, &prompts] {
        FileDialogRequest r;
        r.title = LangText("OpenTitle_15");
        r.filter = "Bitmap Files (*.BMP)|*.BMP";
        auto file = prompts.chooseOpenFile(r);
        if (!file) return;
        QPixmap picture(pathToQt(*file));
        if (auto* im = logoFrame_->findChild<QLabel*>("imLogo")) im->setPixmap(picture);
        settings.writeString("LogoImage", *file);
    });
    connect(btnClrLogo_, &QPushButton::clicked, this, [this, &settings] {
        if (auto* im = logoFrame_->findChild<QLabel*>("imLogo")) im->clear();
        settings.writeString("LogoImage", "");
    });
}

TfrmHeader::~TfrmHeader() = default;

void TfrmHeader::buildControls() {
    auto* outer = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll);
    auto* layout = new QVBoxLayout(content);
    scroll->setWidget(content);
    outer->addWidget(scroll);

    gbHeader_ = new QGroupBox(content);
    gbHeader_->setObjectName("gbHeader");
    auto* hg = new QGridLayout(gbHeader_);
    static const char* const kFieldNames[kHeaderFields] = {
        "edtOperator1", "edtOperator2", "edtOperator3", "edtTestSite1",
        "edtTestSite2", "edtTestSite3", "edtFooter"};
    for (int i = 0; i < kHeaderFields; ++i) {
        auto* e = new QLineEdit(content);
        e->setObjectName(kFieldNames[i]);
        if (headerFieldMaxLength(i) > 0) e->setMaxLength(headerFieldMaxLength(i));
        fields_[size_t(i)] = e;
        connect(e, &QLineEdit::textEdited, this, [this, i] { onFieldEdited(i); });
    }
    labels_[0] = new QLabel(gbHeader_);
    labels_[0]->setObjectName("lbOperator");
    labels_[1] = new QLabel(gbHeader_);
    labels_[1]->setObjectName("lbTestSite");
    hg->addWidget(labels_[0], 0, 0);
    hg->addWidget(fields_[kOperator1], 1, 0);
    hg->addWidget(fields_[kOperator2], 2, 0);
    hg->addWidget(fields_[kOperator3], 3, 0);
    hg->addWidget(labels_[1], 0, 1);
    hg->addWidget(fields_[kTestSite1], 1, 1);
    hg->addWidget(fields_[kTestSite2], 2, 1);
    hg->addWidget(fields_[kTestSite3], 3, 1);
    layout->addWidget(gbHeader_);

    auto* middle = new QHBoxLayout;
    gbInstrumentsData_ = new QGroupBox(content);
    gbInstrumentsData_->setObjectName("gbInstrumentsData");
    auto* ig = new QGridLayout(gbInstrumentsData_);
    static const char* const kInstrNames[4] = {"edtType", "edtCode", "edtSerNo", "edtProducer"};
    static const char* const kInstrLabels[4] = {"lbType", "lbModel", "lbSerNo", "lbProducer"};
    for (int i = 0; i < 4; ++i) {
        labels_[size_t(2 + i)] = new QLabel(gbInstrumentsData_);
        labels_[size_t(2 + i)]->setObjectName(kInstrLabels[i]);
        auto* e = new QLineEdit(gbInstrumentsData_);
        e->setObjectName(kInstrNames[i]);
        e->setReadOnly(true);
        instrument_[size_t(i)] = e;
        ig->addWidget(labels_[size_t(2 + i)], i, 0);
        ig->addWidget(e, i, 1);
    }
    middle->addWidget(gbInstrumentsData_, 2);
    auto* rightColumn = new QVBoxLayout;
    gbTestDate_ = new QGroupBox(content);
    gbTestDate_->setObjectName("gbTestDate");
    dtpDate_ = new QDateEdit(gbTestDate_);
    dtpDate_->setObjectName("dtpDate");
    dtpDate_->setCalendarPopup(true);
    (new QVBoxLayout(gbTestDate_))->addWidget(dtpDate_);
    rightColumn->addWidget(gbTestDate_);
    logoFrame_ = new QGroupBox(content);
    logoFrame_->setObjectName("frLogo");
    auto* lg = new QVBoxLayout(logoFrame_);
    auto* imLogo = new QLabel(logoFrame_);
    imLogo->setObjectName("imLogo");
    imLogo->setMinimumSize(120, 60);
    imLogo->setScaledContents(true);
    lg->addWidget(imLogo);
    btnInsLogo_ = new QPushButton(logoFrame_);
    btnInsLogo_->setObjectName("btnInsLogo");
    btnClrLogo_ = new QPushButton(logoFrame_);
    btnClrLogo_->setObjectName("btnClrLogo");
    lg->addWidget(btnInsLogo_);
    lg->addWidget(btnClrLogo_);
    rightColumn->addWidget(logoFrame_);
    rightColumn->addStretch();
    middle->addLayout(rightColumn, 1);
    layout->addLayout(middle);

    gbFooter_ = new QGroupBox(content);
    gbFooter_->setObjectName("gbFooter");
    (new QVBoxLayout(gbFooter_))->addWidget(fields_[kFooter]);
    layout->addWidget(gbFooter_);

    gbComments_ = new QGroupBox(content);
    gbComments_->setObjectName("gbComments");
    memComments_ = new QPlainTextEdit(gbComments_);
    memComments_->setObjectName("memComments");
    memComments_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memComments_->installEventFilter(this);
    {
        const QFontMetrics fm(memComments_->font());
        memComments_->setMinimumHeight(fm.lineSpacing() * kMaxCommentLines + 12);
        // Never wider than the printed comment lines can be.
        const qreal screenDpi = QGuiApplication::primaryScreen()
                                    ? QGuiApplication::primaryScreen()->logicalDotsPerInchX()
                                    : 96.0;
        const qreal band = (kReportPageWidthMm - 2 * kReportMarginMm) / 25.4 * screenDpi;
        memComments_->setMaximumWidth(int(std::lround(0.9 * band)));
    }
    connect(memComments_, &QPlainTextEdit::textChanged, this, [this] { onCommentsChanged(); });
    (new QVBoxLayout(gbComments_))->addWidget(memComments_);
    layout->addWidget(gbComments_);
    cbOverview_ = new QCheckBox(content);
    cbOverview_->setObjectName("cbOverview");
    connect(cbOverview_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_) editor_->overview = on;
    });
    layout->addWidget(cbOverview_);

    btnLoadDefault_ = namedButton(this, "btnLoadDefault");
    btnSaveDefault_ = namedButton(this, "btnSaveDefault");
    okCancel_.create(this);
    outer->addLayout(okCancel_.row({btnLoadDefault_, btnSaveDefault_}));
    connect(okCancel_.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(okCancel_.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnLoadDefault_, &QPushButton::clicked, this, [this] {
        editor_->loadDefaults();
        showEditor();
    });
    connect(btnSaveDefault_, &QPushButton::clicked, this, [this] { editor_->saveDefaults(); });

    // The logo and the third operator and test site lines belong to reports this program
    // does not make.
    logoFrame_->hide();
    fields_[kOperator3]->hide();
    fields_[kTestSite3]->hide();
    // Boxes wide enough for what they take; the footer and comments as wide as they print.
    const QFontMetrics fm(font());
    for (int i = 0; i < kHeaderFields; ++i)
        fields_[size_t(i)]->setMinimumWidth(fm.averageCharWidth() * 32);
    for (QLineEdit* e : instrument_) e->setMinimumWidth(fm.averageCharWidth() * 30);
    fields_[kFooter]->setMinimumWidth(memComments_->maximumWidth() * 8 / 9);
    memComments_->setMinimumWidth(memComments_->maximumWidth());
    content->adjustSize();
    QScreen* screen = QGuiApplication::primaryScreen();
    const int limit = screen ? int(std::lround(0.92 * screen->availableGeometry().height())) : 0;
    const QSize hint = content->sizeHint() + QSize(0, 64);  // the titles of the group boxes
    scroll->setMinimumWidth(hint.width() + scroll->verticalScrollBar()->sizeHint().width());
    const int buttonsHeight = okCancel_.ok->sizeHint().height() + 40;
    const int height = hint.height() + buttonsHeight;
    resize(minimumSizeHint().width(), limit > 0 ? std::min(height, limit) : height);
    scroll->setMinimumHeight(
        std::min(hint.height(), limit > 0 ? limit - buttonsHeight : hint.height()));
}

void TfrmHeader::translateCaptions() {
    setWindowTitle(toQt(LangText("frmHeader_30")) + QStringLiteral("  "));
    gbHeader_->setTitle(framed("gbHeader_30"));
    gbHeader_->setToolTip(toQt(LangText("HeaderHint_70")));
    labels_[0]->setText(toQt(LangText("qrlOperator_30")));
    labels_[1]->setText(toQt(LangText("qrlTestSite_30")));
    gbInstrumentsData_->setTitle(framed("qrlInstrumentsData_30"));
    labels_[2]->setText(toQt(LangText("qrlType_8")));
    labels_[3]->setText(toQt(LangText("qrlModel_8")));
    labels_[4]->setText(toQt(LangText("qrlSerNo_12")));
    labels_[5]->setText(toQt(LangText("qrlProducer_12")));
    gbTestDate_->setTitle(framed("qrlTestDate_30"));
    gbFooter_->setTitle(framed("gbFooter_30"));
    gbFooter_->setToolTip(toQt(LangText("FooterHint_70")));
    gbComments_->setTitle(framed("gbComments_30"));
    gbComments_->setToolTip(toQt(LangText("CommentsHint_70")));
    cbOverview_->setText(toQt(LangText("cbOverview_30")));
    cbOverview_->setToolTip(toQt(LangText("OverviewHint_70")));
    dtpDate_->setLocale(reportLocale());
    dtpDate_->setDisplayFormat(reportDateFormat());
    btnLoadDefault_->setText(toQt(LangText("btnLoadDefault_15")));
    btnSaveDefault_->setText(toQt(LangText("btnSaveDefault_15")));
    btnInsLogo_->setText(toQt(LangText("btnInsertLogo_15")));
    btnClrLogo_->setText(toQt(LangText("btnClearLogo_15")));
    okCancel_.translate();
}

void TfrmHeader::showEditor() {
    filling_ = true;
    for (int i = 0; i < kHeaderFields; ++i)
        fields_[size_t(i)]->setText(toQt(editor_->fields[size_t(i)]));
    for (int i = 0; i < 4; ++i)
        instrument_[size_t(i)]->setText(toQt(editor_->instrumentFields[size_t(i)]));
    if (fromQt(memComments_->toPlainText()) != editor_->comments)
        memComments_->setPlainText(toQt(editor_->comments));
    cbOverview_->setChecked(editor_->overview);
    filling_ = false;
}

void TfrmHeader::prepare(StructureDocument* document) {
    editor_->open(document);
    showEditor();
    QTextCursor c = memComments_->textCursor();
    c.movePosition(QTextCursor::Start);
    memComments_->setTextCursor(c);
    fields_[kOperator1]->setFocus();
}

void TfrmHeader::finish(bool accepted) {
    if (accepted) {
        editor_->accept();
    } else {
        editor_->cancel();
        showEditor();
    }
}

bool TfrmHeader::run(StructureDocument* document) {
    prepare(document);
    const bool ok = exec() == QDialog::Accepted;
    finish(ok);
    return ok;
}

QDate TfrmHeader::reportDate() const {
    return dtpDate_->date();
}

void TfrmHeader::setReportDate(const QDate& date) {
    dtpDate_->setDate(date);
}

void TfrmHeader::onFieldEdited(int field) {
    if (filling_) return;
    QLineEdit* e = fields_[size_t(field)];
    if (field == kFooter) {
        const std::string typed = fromQt(e->text());
        const std::string fitted = editor_->footerEdited(typed);
        if (fitted != typed) {
            e->setText(toQt(fitted));
            e->setCursorPosition(int(e->text().size()));
        }
        return;
    }
    editor_->fieldEdited(field, fromQt(e->text()));
}

bool TfrmHeader::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memComments_ && event->type() == QEvent::KeyPress && !filling_) {
        const int caret = memComments_->textCursor().position();
        if (editor_->commentKeyPressed(fromQt(memComments_->toPlainText()), caret)) {
            // A warning only: the caret stays where it was and the key is processed.
            QTextCursor c = memComments_->textCursor();
            c.setPosition(caret);
            memComments_->setTextCursor(c);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmHeader::onCommentsChanged() {
    if (filling_) return;
    if (editor_->commentsChanged(fromQt(memComments_->toPlainText()))) return;
    filling_ = true;
    memComments_->setPlainText(toQt(editor_->rememberedComments()));
    QTextCursor c = memComments_->textCursor();
    c.setPosition(std::min(editor_->rememberedCaret(), int(memComments_->toPlainText().size())));
    memComments_->setTextCursor(c);
    filling_ = false;
}

}  // namespace pelvoro
