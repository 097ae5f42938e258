// The Qt views of the dialogs, message boxes and the move-range window, on Qt's
// "offscreen" platform: a dialog's handler hears OnOpened, its link clicks and one
// OnEnded with the button's id (cancel from the close box and Escape, 0 when the owner
// goes); web links only open web addresses; a message box says its line on stderr; the
// move-range window takes the handler's answers to drags and goes inert when destroyed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_area_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_strings.h"

namespace {

using Events = std::vector<std::string>;

// One application for the whole run, on the platform that needs no display. It goes
// before main returns: a QApplication left to the static destructors crashes there.
class CQtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  char name_[19] = "zv_qt_dialogs_test";
  char* argv_[2] = {name_, nullptr};
  int argc_ = 1;
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new CQtEnvironment);

void DeleteLaterObjects() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

std::string Rect(const SRect& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.Width()) + "x" +
         std::to_string(rect.Height());
}

std::string Rect(const QRect& rect) {
  return Rect(SRect{rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()});
}

class CLoggingDialogHandler : public IDialogHandler {
 public:
  CLoggingDialogHandler(Events& log, std::string name) : log_(log), name_(std::move(name)) {}
  void OnOpened(IDialog& opened) override {
    dialog = &opened;
    log_.push_back(name_ + " opened");
  }
  void OnLinkClicked(IDialog&, int controlId) override { log_.push_back(name_ + " link " + std::to_string(controlId)); }
  void OnEnded(IDialog&, int result) override { log_.push_back(name_ + " ended " + std::to_string(result)); }
  IDialog* dialog = nullptr;

 private:
  Events& log_;
  std::string name_;
};

// Keeps a moved window's left edge at 80 or more and passes sizes through; hooks run
// after the event is logged.
class CLoggingAreaHandler : public IAreaWindowHandler {
 public:
  explicit CLoggingAreaHandler(Events& log) : log_(log) {}
  SRect OnMoving(const SRect& proposed) override {
    log_.push_back("moving " + Rect(proposed));
    SRect kept = proposed;
    if (kept.left < 80) {
      kept.right += 80 - kept.left;
      kept.left = 80;
    }
    if (onMoving) onMoving(kept);
    return kept;
  }
  SRect OnSizing(const SRect& proposed) override {
    log_.push_back("sizing " + Rect(proposed));
    return proposed;
  }
  void OnButton(int buttonId) override {
    log_.push_back("button " + std::to_string(buttonId));
    if (onButton) onButton(buttonId);
  }
  std::function<void(const SRect&)> onMoving;
  std::function<void(int)> onButton;

 private:
  Events& log_;
};

const uint32_t kPicturePixels[] = {0xFF112233, 0x80402010, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFF00FF00};

SDialogModel AboutDialog() {
  SDialogModel dialog;
  dialog.resourceId = 103;
  dialog.title = u"Zelvotta について";
  dialog.fontFace = u"MS UI Gothic";
  dialog.fontPoints = 9;
  dialog.bounds = {200, 100, 200 + 315, 100 + 360};
  SDialogControl text;
  text.id = 1001;
  text.text = u"<b>not bold</b> & plain";
  text.bounds = {10, 50, 300, 62};
  dialog.controls.push_back(text);
  SDialogControl link;
  link.id = 1017;
  link.kind = EDialogControl::Link;
  link.text = u"<a href=\"https://example.org\">https://example.org</a>";
  link.url = u"https://example.org";
  link.bounds = {75, 87, 305, 99};
  dialog.controls.push_back(link);
  SDialogControl list;
  list.id = 1025;
  list.kind = EDialogControl::List;
  list.text = u"ライセンス";
  list.columnWidth = 650;
  list.rows = {u"MIT License", u"", u"Permission is hereby granted"};
  list.bounds = {10, 160, 304, 316};
  dialog.controls.push_back(list);
  SDialogControl picture;
  picture.id = 1038;
  picture.kind = EDialogControl::Picture;
  picture.bounds = {92, 5, 92 + 185, 5 + 40};
  picture.image = {kPicturePixels, 3, 2};
  dialog.controls.push_back(picture);
  SDialogControl ok;
  ok.id = 1;
  ok.kind = EDialogControl::Button;
  ok.text = u"OK";
  ok.bounds = {120, 327, 195, 348};
  dialog.controls.push_back(ok);
  SDialogControl other;
  other.id = 7;
  other.kind = EDialogControl::Button;
  other.text = u"Other";
  other.bounds = {200, 327, 275, 348};
  dialog.controls.push_back(other);
  return dialog;
}

template <typename T>
T* Control(QWidget* dialog, int id) {
  for (T* found : dialog->findChildren<T*>()) {
    if (found->property("controlId").toInt() == id) return found;
  }
  return nullptr;
}

template <typename T>
T* AreaButton(QWidget* window, int id) {
  for (T* found : window->findChildren<T*>()) {
    if (found->property("buttonId").toInt() == id) return found;
  }
  return nullptr;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
  const QPoint global = widget->geometry().topLeft() + local;
  QMouseEvent event(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

// Presses at `from` (client pixels), moves by `dx`, `dy` and lets go.
void Drag(QWidget* widget, QPoint from, int dx, int dy) {
  const QPoint global = widget->geometry().topLeft() + from;
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(from), QPointF(global), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(dx, dy)), QPointF(global + QPoint(dx, dy)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(from + QPoint(dx, dy)), QPointF(global + QPoint(dx, dy)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &release);
}

SAreaView AreaView(const SRect& rect) {
  SAreaView view;
  view.title = u"移動範囲設定";
  view.rect = rect;
  view.opacity = 230;
  view.lines.push_back({u"X座標 : 100  Y座標 : 50", rect.Width() / 2, 55});
  const char16_t* texts[] = {u"決定", u"キャンセル", u"最大領域", u"最小領域"};
  for (int id = 0; id < 4; ++id) {
    const int left = rect.Width() / 2 - 150 + id * 75;
    const int top = rect.Height() / 2;
    view.buttons.push_back({id, texts[id], {left, top, left + 70, top + 24}});
  }
  return view;
}

class QtDialogsTest : public ::testing::Test {
 protected:
  QtDialogsTest() { EXPECT_NE(QApplication::instance(), nullptr); }
  ~QtDialogsTest() override { DeleteLaterObjects(); }
  Events log;
};

TEST_F(QtDialogsTest, ADialogShowsItsControlsAndReportsLinksThenItsButtonOnce) {
  CQtDialogs dialogs;
  CLoggingDialogHandler handler(log, "about");
  dialogs.RunModal(AboutDialog(), handler);
  EXPECT_EQ(log, (Events{"about opened"}));
  ASSERT_NE(handler.dialog, nullptr);
  auto* dialog = static_cast<CQtDialog*>(handler.dialog);
  ASSERT_EQ(dialogs.OpenDialogs(), std::vector<CQtDialog*>{dialog});
  QDialog* window = dialog->Widget();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(FromQString(window->windowTitle()), u"Zelvotta について");
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(Rect(window->geometry()), "200,100 315x360");
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->font().pointSize(), 9);

  QLabel* text = Control<QLabel>(window, 1001);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->textFormat(), Qt::PlainText);
  EXPECT_EQ(FromQString(text->text()), u"<b>not bold</b> & plain");
  EXPECT_TRUE(text->wordWrap());
  EXPECT_EQ(Rect(text->geometry()), "10,50 290x12");

  QLabel* link = Control<QLabel>(window, 1017);
  ASSERT_NE(link, nullptr);
  EXPECT_FALSE(link->openExternalLinks());
  EXPECT_EQ(link->textFormat(), Qt::RichText);

  QTreeWidget* list = Control<QTreeWidget>(window, 1025);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->columnCount(), 1);
  EXPECT_EQ(FromQString(list->headerItem()->text(0)), u"ライセンス");
  EXPECT_EQ(list->columnWidth(0), 650);
  EXPECT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(FromQString(list->topLevelItem(2)->text(0)), u"Permission is hereby granted");
  EXPECT_FALSE(list->rootIsDecorated());
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);

  QLabel* picture = Control<QLabel>(window, 1038);
  ASSERT_NE(picture, nullptr);
  const QImage image = picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(image.pixel(0, 0), 0xFF112233u);
  EXPECT_EQ(image.pixel(2, 1), 0xFF00FF00u);
  EXPECT_EQ(picture->geometry().topLeft(), QPoint(92, 5));

  QPushButton* ok = Control<QPushButton>(window, 1);
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(FromQString(ok->text()), u"OK");

  emit link->linkActivated(QStringLiteral("#"));
  QPushButton* other = Control<QPushButton>(window, 7);
  ASSERT_NE(other, nullptr);
  const QPointer<QDialog> gone = window;
  other->click();
  EXPECT_EQ(log, (Events{"about opened", "about link 1017", "about ended 7"}));
  EXPECT_FALSE(dialog->Open());
  EXPECT_EQ(dialog->Widget(), nullptr);
  EXPECT_TRUE(dialogs.OpenDialogs().empty());
  EXPECT_FALSE(gone->isVisible());
  DeleteLaterObjects();
  EXPECT_TRUE(gone.isNull());

  // An ended dialog ignores what the core still asks of it.
  dialog->End(1);
  dialog->BringToFront();
  EXPECT_EQ(log.size(), 3u);
}

TEST_F(QtDialogsTest, EndingTwiceReportsOnceAndTheCloseBoxAndEscapeCancel) {
  CQtDialogs dialogs;
  CLoggingDialogHandler first(log, "first");
  CLoggingDialogHandler second(log, "second");
  CLoggingDialogHandler third(log, "third");
  dialogs.RunModal(AboutDialog(), first);
  dialogs.RunModal(AboutDialog(), second);
  dialogs.RunModal(AboutDialog(), third);
  first.dialog->BringToFront();
  first.dialog->End(1);
  first.dialog->End(2);

  static_cast<CQtDialog*>(second.dialog)->Widget()->close();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(static_cast<CQtDialog*>(third.dialog)->Widget(), &escape);
  EXPECT_EQ(log, (Events{"first opened", "second opened", "third opened", "first ended 1", "second ended 2",
                         "third ended 2"}));
  EXPECT_TRUE(dialogs.OpenDialogs().empty());
}

TEST_F(QtDialogsTest, DialogsEndWithZeroWhenTheirOwnerGoesTheNewestFirst) {
  CQtDialogs dialogs;
  CLoggingDialogHandler first(log, "first");
  CLoggingDialogHandler second(log, "second");
  CLoggingDialogHandler third(log, "third");
  dialogs.RunModal(AboutDialog(), first);
  dialogs.RunModal(AboutDialog(), second);
  dialogs.RunModal(AboutDialog(), third);
  second.dialog->End(1);
  dialogs.OwnerGone();
  EXPECT_EQ(log, (Events{"first opened", "second opened", "third opened", "second ended 1", "third ended 0",
                         "first ended 0"}));
  EXPECT_TRUE(dialogs.OpenDialogs().empty());
  dialogs.OwnerGone();
  EXPECT_EQ(log.size(), 6u);
}

TEST_F(QtDialogsTest, AHandlerMayEndItsDialogFromItsOwnCalls) {
  CQtDialogs dialogs;
  CLoggingDialogHandler handler(log, "about");
  dialogs.RunModal(AboutDialog(), handler);
  QLabel* link = Control<QLabel>(static_cast<CQtDialog*>(handler.dialog)->Widget(), 1017);
  QObject::connect(link, &QLabel::linkActivated, link, [&handler] { handler.dialog->End(3); });
  emit link->linkActivated(QStringLiteral("#"));
  EXPECT_EQ(log, (Events{"about opened", "about link 1017", "about ended 3"}));
}

TEST_F(QtDialogsTest, OnlyWebAddressesAreOpened) {
  CQtDialogs dialogs;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(dialogs.OpenUrl(u"file:///etc/passwd"));
  EXPECT_FALSE(dialogs.OpenUrl(u""));
  EXPECT_FALSE(dialogs.OpenUrl(u"http://"));
  EXPECT_FALSE(dialogs.OpenUrl(u"javascript:alert(1)"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "zelvotta: not opening 'file:///etc/passwd'\n"
            "zelvotta: not opening ''\n"
            "zelvotta: not opening 'http://'\n"
            "zelvotta: not opening 'javascript:alert(1)'\n");
}

TEST_F(QtDialogsTest, LinkMarkupKeepsOnlyItsAnchors) {
  EXPECT_EQ(FromQString(LinkMarkupToRichText(u"<a href=\"https://example.org\">https://example.org</a>")),
            u"<a href=\"#\">https://example.org</a>");
  EXPECT_EQ(FromQString(LinkMarkupToRichText(u"see <A HREF=\"x>y\">a & <img src=x></A> <b>now</b>")),
            u"see <a href=\"#\">a &amp; &lt;img src=x&gt;</a> &lt;b&gt;now&lt;/b&gt;");
  EXPECT_EQ(FromQString(LinkMarkupToRichText(u"<abbr>plain</abbr>")), u"&lt;abbr&gt;plain&lt;/abbr&gt;");
  EXPECT_EQ(FromQString(LinkMarkupToRichText(u"<a href=\"\"></a>")), u"<a href=\"#\"></a>");
  EXPECT_EQ(FromQString(LinkMarkupToRichText(u"")), u"");
}

TEST_F(QtDialogsTest, AMessageBoxBlocksUntilClosedAndSaysItsLine) {
  CQtDialogs dialogs;
  std::u16string seenTitle;
  std::u16string seenText;
  QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
  bool onTop = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seenTitle = FromQString(box->windowTitle());
    seenText = FromQString(box->text());
    seenIcon = box->icon();
    onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    box->button(QMessageBox::Ok)->click();
  });
  // Should the box not close, this ends it rather than hanging the test.
  QTimer::singleShot(5000, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(widget)) box->done(0);
    }
  });
  testing::internal::CaptureStderr();
  dialogs.MessageBox(u"キャラクターが一体もありません", u"Zelvotta", EMessageBoxIcon::Error);
  // The offscreen platform may add warnings of its own after the line.
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.substr(0, said.find('\n') + 1), "messagebox \"Zelvotta\" \"キャラクターが一体もありません\"\n");
  EXPECT_EQ(seenTitle, u"Zelvotta");
  EXPECT_EQ(seenText, u"キャラクターが一体もありません");
  EXPECT_EQ(seenIcon, QMessageBox::Critical);
  EXPECT_TRUE(onTop);
}

TEST_F(QtDialogsTest, StringsKeepEveryCodeUnit) {
  const std::u16string text = {0xFEFF, u'a', 0xD800, u'b'};
  EXPECT_EQ(ToQString(text).size(), 4);
  EXPECT_EQ(FromQString(ToQString(text)), text);
  EXPECT_TRUE(ToQString(u"").isEmpty());
}

TEST_F(QtDialogsTest, TheAreaWindowShowsItsViewAndTakesTheHandlersAnswersToDrags) {
  CLoggingAreaHandler handler(log);
  CQtAreaWindow area(handler);
  ASSERT_NE(area.Widget(), nullptr);
  EXPECT_FALSE(area.Widget()->isVisible());
  area.Show(AreaView({100, 50, 500, 450}));
  QWidget* window = area.Widget();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Rect(window->geometry()), "100,50 400x400");
  EXPECT_NEAR(window->windowOpacity(), 230 / 255.0, 0.01);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(FromQString(window->windowTitle()), u"移動範囲設定");
  EXPECT_EQ(window->findChildren<QPushButton*>().size(), 4);
  QPushButton* cancel = AreaButton<QPushButton>(window, 1);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(FromQString(cancel->text()), u"キャンセル");
  EXPECT_EQ(Rect(cancel->geometry()), "125,200 70x24");
  cancel->click();
  EXPECT_EQ(log, (Events{"button 1"}));

  // Moving: the handler keeps the left edge at 80, and the window goes where it says.
  log.clear();
  Drag(window, {200, 200}, -50, 60);
  EXPECT_EQ(log, (Events{"moving 50,110 400x400"}));
  EXPECT_EQ(Rect(window->geometry()), "80,110 400x400");

  // Sizing from the bottom-right corner.
  log.clear();
  Drag(window, {398, 397}, 30, -20);
  EXPECT_EQ(log, (Events{"sizing 80,110 430x380"}));
  EXPECT_EQ(Rect(window->geometry()), "80,110 430x380");
  // From the left edge.
  log.clear();
  Drag(window, {2, 200}, 10, 5);
  EXPECT_EQ(log, (Events{"sizing 90,110 420x380"}));

  // A new view with the same buttons elsewhere moves them; other buttons replace them.
  area.Show(AreaView({0, 0, 600, 500}));
  EXPECT_EQ(AreaButton<QPushButton>(window, 1), cancel);
  EXPECT_EQ(Rect(cancel->geometry()), "225,250 70x24");
  SAreaView renamed = AreaView({0, 0, 600, 500});
  renamed.buttons[1].text = u"Cancel";
  area.Show(renamed);
  DeleteLaterObjects();
  ASSERT_EQ(window->findChildren<QPushButton*>().size(), 4);
  EXPECT_EQ(FromQString(AreaButton<QPushButton>(window, 1)->text()), u"Cancel");

  // The cursor tells moving from sizing.
  SendMouse(window, QEvent::MouseMove, {1, 1}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(window->cursor().shape(), Qt::SizeFDiagCursor);
  SendMouse(window, QEvent::MouseMove, {598, 1}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(window->cursor().shape(), Qt::SizeBDiagCursor);
  SendMouse(window, QEvent::MouseMove, {300, 498}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(window->cursor().shape(), Qt::SizeVerCursor);
  SendMouse(window, QEvent::MouseMove, {300, 100}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);

  area.Hide();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(QtDialogsTest, TheHandlerMayShowTheWindowAgainWhileADragAsksIt) {
  CLoggingAreaHandler handler(log);
  CQtAreaWindow area(handler);
  // As the core does: every accepted rectangle comes back as a new view.
  handler.onMoving = [&area](const SRect& kept) { area.Show(AreaView(kept)); };
  handler.onButton = [&area](int) { area.Hide(); };
  area.Show(AreaView({100, 50, 500, 450}));
  QWidget* window = area.Widget();
  Drag(window, {200, 200}, 40, 30);
  EXPECT_EQ(Rect(window->geometry()), "140,80 400x400");
  AreaButton<QPushButton>(window, 0)->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(log, (Events{"moving 140,80 400x400", "button 0"}));
}

TEST_F(QtDialogsTest, ADestroyedAreaWindowIsInert) {
  CLoggingAreaHandler handler(log);
  CQtAreaWindow area(handler);
  area.Show(AreaView({100, 50, 500, 450}));
  const QPointer<QWidget> window = area.Widget();
  const QPointer<QPushButton> button = AreaButton<QPushButton>(window, 0);
  ASSERT_NE(button, nullptr);
  // Destroyed from its own button's click, as the core may do.
  handler.onButton = [&area](int) { area.Destroy(); };
  button->click();
  EXPECT_EQ(area.Widget(), nullptr);
  EXPECT_FALSE(area.Alive());
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(window->isVisible());
  // Events still on their way reach no one.
  button->click();
  Drag(window, {200, 200}, 10, 10);
  area.Show(AreaView({0, 0, 400, 400}));
  area.Hide();
  area.Destroy();
  DeleteLaterObjects();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(log, (Events{"button 0"}));
}

}  // namespace
