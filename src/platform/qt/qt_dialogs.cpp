#include "platform/qt/qt_dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/qt/qt_strings.h"
#include "support/utf.h"

namespace {

constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr int kOwnerGoneResult = 0;
constexpr char kControlIdProperty[] = "controlId";

void WriteLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

QRect ToQRect(const SRect& rect) {
  return QRect(rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
}

// A copy of the core's premultiplied 0xAARRGGBB pixels, which are in memory exactly what
// QImage's Format_ARGB32_Premultiplied is.
QPixmap PicturePixmap(const SDialogImage& image) {
  if (image.pixels == nullptr || image.width <= 0 || image.height <= 0) return QPixmap();
  const QImage borrowed(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height,
                        static_cast<qsizetype>(image.width) * 4, QImage::Format_ARGB32_Premultiplied);
  return QPixmap::fromImage(borrowed.copy());
}

// Where the anchor tag beginning at or after `from` starts: "<a" followed by a blank or
// ">", in any letter case; -1 when there is none.
qsizetype FindAnchorOpen(const QString& text, qsizetype from) {
  for (;;) {
    const qsizetype at = text.indexOf(QLatin1String("<a"), from, Qt::CaseInsensitive);
    if (at < 0 || at + 2 >= text.size()) return -1;
    const QChar next = text[at + 2];
    if (next == u'>' || next.isSpace()) return at;
    from = at + 1;
  }
}

// The ">" that closes the tag starting at `open`, skipping quoted attribute values; -1
// when the tag does not close.
qsizetype FindTagEnd(const QString& text, qsizetype open) {
  bool quoted = false;
  for (qsizetype i = open + 2; i < text.size(); ++i) {
    if (text[i] == u'"') {
      quoted = !quoted;
    } else if (text[i] == u'>' && !quoted) {
      return i;
    }
  }
  return -1;
}

class CDialogControlFactory {
 public:
  CDialogControlFactory(QWidget& parent, CQtDialog& dialog) : parent_(parent), dialog_(dialog) {}

  void Make(const SDialogControl& control) {
    QWidget* widget = nullptr;
    switch (control.kind) {
      case EDialogControl::Static: widget = Static(control); break;
      case EDialogControl::Link: widget = Link(control); break;
      case EDialogControl::List: widget = List(control); break;
      case EDialogControl::Picture: widget = Picture(control); break;
      case EDialogControl::Button: widget = Button(control); break;
    }
    if (widget == nullptr) return;
    widget->setProperty(kControlIdProperty, control.id);
    if (control.kind != EDialogControl::Picture) widget->setGeometry(ToQRect(control.bounds));
  }

 private:
  QWidget* Static(const SDialogControl& control) {
    auto* label = new QLabel(&parent_);
    label->setTextFormat(Qt::PlainText);
    label->setText(ToQString(control.text));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  }

  QWidget* Link(const SDialogControl& control) {
    auto* label = new QLabel(&parent_);
    label->setTextFormat(Qt::RichText);
    label->setText(LinkMarkupToRichText(control.text));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The core decides what a click opens (control.url), so the label opens nothing.
    label->setOpenExternalLinks(false);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    CQtDialog* dialog = &dialog_;
    const int id = control.id;
    QObject::connect(label, &QLabel::linkActivated, label, [dialog, id](const QString&) { dialog->LinkClicked(id); });
    return label;
  }

  QWidget* List(const SDialogControl& control) {
    auto* list = new QTreeWidget(&parent_);
    list->setColumnCount(1);
    list->setHeaderLabels(QStringList{ToQString(control.text)});
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->setColumnWidth(0, control.columnWidth > 0 ? control.columnWidth : std::max(control.bounds.Width(), 0));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(control.rows.size()));
    for (const std::u16string& row : control.rows) {
      auto* item = new QTreeWidgetItem(QStringList{ToQString(row)});
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      items.push_back(item);
    }
    list->addTopLevelItems(items);
    return list;
  }

  QWidget* Picture(const SDialogControl& control) {
    auto* label = new QLabel(&parent_);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QPixmap pixmap = PicturePixmap(control.image);
    if (pixmap.isNull()) {
      label->setGeometry(ToQRect(control.bounds));
    } else {
      label->setPixmap(pixmap);
      // A picture control takes its image's size at its bounds' corner, as the system's does.
      label->setGeometry(control.bounds.left, control.bounds.top, pixmap.width(), pixmap.height());
    }
    return label;
  }

  QWidget* Button(const SDialogControl& control) {
    auto* button = new QPushButton(ToQString(control.text), &parent_);
    button->setAutoDefault(true);
    if (control.id == kOkId) button->setDefault(true);
    CQtDialog* dialog = &dialog_;
    const int id = control.id;
    QObject::connect(button, &QPushButton::clicked, button, [dialog, id] { dialog->End(id); });
    return button;
  }

  QWidget& parent_;
  CQtDialog& dialog_;
};

}  // namespace

// The dialog's window. Escape and the title bar's close box reach reject(), which ends
// the dialog as cancel (2), as the system's dialog manager does.
class CQtDialogWidget final : public QDialog {
 public:
  explicit CQtDialogWidget(CQtDialog& dialog) : dialog_(&dialog) {}
  ~CQtDialogWidget() override {
    if (dialog_ != nullptr) dialog_->WidgetDestroyed();
  }
  CQtDialogWidget(const CQtDialogWidget&) = delete;
  CQtDialogWidget& operator=(const CQtDialogWidget&) = delete;

  // After this the window reports nothing to its dialog.
  void Detach() { dialog_ = nullptr; }

  void accept() override {
    if (dialog_ != nullptr) {
      dialog_->End(kOkId);
    } else {
      QDialog::accept();
    }
  }

  void reject() override {
    if (dialog_ != nullptr) {
      dialog_->End(kCancelId);
    } else {
      QDialog::reject();
    }
  }

 private:
  CQtDialog* dialog_;
};

QString LinkMarkupToRichText(const std::u16string& markup) {
  const QString text = ToQString(markup);
  QString html;
  qsizetype at = 0;
  while (at < text.size()) {
    const qsizetype open = FindAnchorOpen(text, at);
    const qsizetype openEnd = open < 0 ? -1 : FindTagEnd(text, open);
    if (openEnd < 0) {
      html += text.mid(at).toHtmlEscaped();
      break;
    }
    html += text.mid(at, open - at).toHtmlEscaped();
    const qsizetype close = text.indexOf(QLatin1String("</a>"), openEnd + 1, Qt::CaseInsensitive);
    const qsizetype textEnd = close < 0 ? text.size() : close;
    html += QLatin1String("<a href=\"#\">") + text.mid(openEnd + 1, textEnd - openEnd - 1).toHtmlEscaped() +
            QLatin1String("</a>");
    at = close < 0 ? text.size() : close + 4;
  }
  return html;
}

CQtDialog::CQtDialog(const SDialogModel& model, IDialogHandler& handler) : model_(model), handler_(handler) {}

CQtDialog::~CQtDialog() { Discard(); }

QDialog* CQtDialog::Widget() const { return widget_; }

void CQtDialog::Show() {
  auto* widget = new CQtDialogWidget(*this);
  widget_ = widget;
  // The program is not over when its last dialog closes.
  widget->setAttribute(Qt::WA_QuitOnClose, false);
  widget->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  widget->setWindowTitle(ToQString(model_.title));
  // A face that is not installed falls back to the closest one the system has.
  QFont font = model_.fontFace.empty() ? QFont() : QFont(ToQString(model_.fontFace));
  if (model_.fontPoints > 0) font.setPointSize(model_.fontPoints);
  widget->setFont(font);

  CDialogControlFactory factory(*widget, *this);
  for (const SDialogControl& control : model_.controls) factory.Make(control);

  const QRect bounds = ToQRect(model_.bounds);
  widget->setFixedSize(bounds.size());
  widget->setGeometry(bounds);
  widget->show();
  handler_.OnOpened(*this);
}

void CQtDialog::BringToFront() {
  if (ended_ || widget_ == nullptr) return;
  if (widget_->isMinimized()) {
    widget_->showNormal();
  } else {
    widget_->show();
  }
  widget_->raise();
  widget_->activateWindow();
}

void CQtDialog::End(int result) {
  if (ended_) return;
  ended_ = true;
  if (CQtDialogWidget* widget = widget_) {
    widget_ = nullptr;
    widget->Detach();
    widget->hide();
    // Later: End may run inside one of the window's own signals (a button's click).
    widget->deleteLater();
  }
  handler_.OnEnded(*this, result);
}

void CQtDialog::LinkClicked(int controlId) {
  if (!ended_) handler_.OnLinkClicked(*this, controlId);
}

void CQtDialog::WidgetDestroyed() {
  // Someone else deleted the window: the dialog went away without a button.
  widget_ = nullptr;
  if (ended_) return;
  ended_ = true;
  handler_.OnEnded(*this, kOwnerGoneResult);
}

void CQtDialog::Discard() {
  ended_ = true;
  CQtDialogWidget* widget = widget_;
  if (widget == nullptr) return;
  widget_ = nullptr;
  widget->Detach();
  // Without an application its widgets cannot be deleted safely; it is going away anyway.
  if (QCoreApplication::instance() != nullptr) delete widget;
}

CQtDialogs::~CQtDialogs() {
  for (const std::unique_ptr<CQtDialog>& dialog : dialogs_) dialog->Discard();
}

void CQtDialogs::RunModal(const SDialogModel& dialog, IDialogHandler& handler) {
  CQtDialog& made = *dialogs_.emplace_back(std::make_unique<CQtDialog>(dialog, handler));
  made.Show();
}

void CQtDialogs::OwnerGone() {
  // Newest first, as the system destroys a stack of owned dialogs from the top. A handler
  // may open another dialog meanwhile; that one stays.
  const std::vector<CQtDialog*> open = OpenDialogs();
  for (auto it = open.rbegin(); it != open.rend(); ++it) (*it)->End(kOwnerGoneResult);
}

bool CQtDialogs::OpenUrl(const std::u16string& url) {
  const QString text = ToQString(url);
  const QUrl parsed(text);
  const bool web = (text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
                    text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) &&
                   parsed.isValid() && !parsed.host().isEmpty();
  if (!web) {
    WriteLine("zelvotta: not opening '" + ToUtf8(url) + "'\n");
    return false;
  }
  return QDesktopServices::openUrl(parsed);
}

void CQtDialogs::MessageBox(const std::u16string& text, const std::u16string& caption, EMessageBoxIcon icon) {
  WriteLine("messagebox \"" + ToUtf8(caption) + "\" \"" + ToUtf8(text) + "\"\n");
  // Widgets need a QApplication; without one the line above is all there is.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  QMessageBox::Icon shown = QMessageBox::NoIcon;
  switch (icon) {
    case EMessageBoxIcon::None: shown = QMessageBox::NoIcon; break;
    case EMessageBoxIcon::Error: shown = QMessageBox::Critical; break;
    case EMessageBoxIcon::Warning: shown = QMessageBox::Warning; break;
    case EMessageBoxIcon::Information: shown = QMessageBox::Information; break;
  }
  QMessageBox box(shown, ToQString(caption), ToQString(text), QMessageBox::Ok, nullptr,
                  Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
  box.setTextFormat(Qt::PlainText);
  box.setAttribute(Qt::WA_QuitOnClose, false);
  box.exec();
}

std::vector<CQtDialog*> CQtDialogs::OpenDialogs() const {
  std::vector<CQtDialog*> open;
  for (const std::unique_ptr<CQtDialog>& dialog : dialogs_) {
    if (dialog->Open()) open.push_back(dialog.get());
  }
  return open;
}
