// Forms and their components, laid out in pixels. A form is plain data plus behaviour until the
// application shows it; then each control is backed by a native window (its peer) and reads and
// writes its state through it. Without a peer (in tests) the control keeps the state itself.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace platform {

class Application;
class Form;
struct MainMenu;

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

enum class ControlKind { PageControl, TabSheet, Panel, CheckBox, Label, Edit, Button, Image };

// The native side of a control.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // *exact is false when the text holds characters that code page 932 cannot represent.
  virtual std::string GetText(bool* exact) const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual bool GetChecked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

class Control {
 public:
  Control(ControlKind kind, std::string name, Control* parent, Bounds bounds, std::string text);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  const Bounds& GetBounds() const { return bounds_; }
  // -1 for controls that take no focus.
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }

  std::string Text() const;
  void SetText(const std::string& text);
  // False when the text typed in holds characters that code page 932 cannot represent.
  bool TextIsExact() const;

  void AttachPeer(ControlPeer* peer) { peer_ = peer; }
  // Before its window goes: the control keeps the state the window last had.
  virtual void DetachPeer();
  ControlPeer* Peer() const { return peer_; }

 protected:
  ControlPeer* peer_ = nullptr;
  bool textIsExact_ = true;

 private:
  ControlKind kind_;
  std::string name_;
  Control* parent_;
  Bounds bounds_;
  int tabOrder_ = -1;
  std::string text_;
};

class PageControl : public Control {
 public:
  // Fills its parent's client area.
  PageControl(std::string name, Control* parent) : Control(ControlKind::PageControl, std::move(name), parent, {}, {}) {}
};

// One page of a page control; its text is the tab's caption.
class TabSheet : public Control {
 public:
  TabSheet(std::string name, PageControl* parent, std::string caption)
      : Control(ControlKind::TabSheet, std::move(name), parent, {}, std::move(caption)) {}
};

enum class Bevel { None, Lowered, Raised };

class Panel : public Control {
 public:
  Panel(std::string name, Control* parent, Bounds bounds, Bevel outer, Bevel inner = Bevel::None)
      : Control(ControlKind::Panel, std::move(name), parent, bounds, {}), outer_(outer), inner_(inner) {}
  Bevel Outer() const { return outer_; }
  Bevel Inner() const { return inner_; }

 private:
  Bevel outer_;
  Bevel inner_;
};

class CheckBox : public Control {
 public:
  CheckBox(std::string name, Control* parent, Bounds bounds, std::string caption)
      : Control(ControlKind::CheckBox, std::move(name), parent, bounds, std::move(caption)) {}
  bool Checked() const;
  void SetChecked(bool checked);
  // What a click of the user does: toggles the box.
  void Click() { SetChecked(!Checked()); }
  void DetachPeer() override;

 private:
  bool checked_ = false;
};

enum class TextColor { WindowText, Navy };

class Label : public Control {
 public:
  Label(std::string name, Control* parent, Bounds bounds, std::string caption,
        TextColor color = TextColor::WindowText, bool wordWrap = false)
      : Control(ControlKind::Label, std::move(name), parent, bounds, std::move(caption)),
        color_(color),
        wordWrap_(wordWrap) {}
  TextColor Color() const { return color_; }
  bool WordWrap() const { return wordWrap_; }

 private:
  TextColor color_;
  bool wordWrap_;
};

class Edit : public Control {
 public:
  // passwordChar 0 shows the text itself.
  Edit(std::string name, Control* parent, Bounds bounds, char passwordChar = 0)
      : Control(ControlKind::Edit, std::move(name), parent, bounds, {}), passwordChar_(passwordChar) {}
  char PasswordChar() const { return passwordChar_; }
  // What typing does, for tests: text that code page 932 cannot represent is typed as
  // its CP932 approximation with exact = false.
  void Type(const std::string& text, bool exact = true);

 private:
  char passwordChar_;
};

struct ButtonOptions {
  bool isDefault = false;  // pressed by Enter
  bool isCancel = false;   // pressed by Esc
  ModalResult modalResult = mrNone;
};

class Button : public Control {
 public:
  Button(std::string name, Control* parent, Bounds bounds, std::string caption, ButtonOptions options)
      : Control(ControlKind::Button, std::move(name), parent, bounds, std::move(caption)), options_(options) {}
  const ButtonOptions& Options() const { return options_; }
  std::function<void()> onClick;
  // Runs onClick, then closes the form with the button's modal result, if it has one.
  void Click();
  void SetForm(Form* form) { form_ = form; }

 private:
  ButtonOptions options_;
  Form* form_ = nullptr;
};

// Shows the program icon.
class Image : public Control {
 public:
  Image(std::string name, Control* parent, Bounds bounds) : Control(ControlKind::Image, std::move(name), parent, bounds, {}) {}
};

enum class BorderStyle {
  Single,  // caption, system menu, minimise and maximise; not resizable
  Dialog,  // caption and system menu only; not resizable
};

struct FormLayout {
  std::string className;  // the window class, e.g. "TMainForm"
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  BorderStyle border = BorderStyle::Single;
  bool showIcon = false;  // the program icon in the title bar
};

// The font every form uses: "ＭＳ Ｐゴシック", 12-pixel characters, Shift-JIS character set.
extern const char* const kFormFontFace;
constexpr int kFormFontHeight = 12;

class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual void Close() = 0;
};

// A window with a designed layout. Forms are placed at the screen centre.
class Form {
 public:
  Form(Application& app, FormLayout layout);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Application& App() const { return app_; }
  const FormLayout& Layout() const { return layout_; }
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  Control* FindControl(const std::string& name) const;
  template <typename T>
  T* Find(const std::string& name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  MainMenu* Menu() const { return menu_; }
  const std::string& HelpFile() const { return helpFile_; }

  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }

  // Closes the window: a modal form ends with Cancel unless it has a result already; the main
  // form ends the message loop.
  void Close();

  // Runs once the window exists, before it is first shown.
  virtual void FormCreate() {}

  void AttachPeer(FormPeer* peer) { peer_ = peer; }

 protected:
  template <typename T, typename... Args>
  T* Add(Args&&... args) {
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = control.get();
    if constexpr (std::is_same_v<T, Button>) raw->SetForm(this);
    controls_.push_back(std::move(control));
    return raw;
  }
  void SetMenu(MainMenu* menu) { menu_ = menu; }
  void SetHelpFile(std::string file) { helpFile_ = std::move(file); }

 private:
  Application& app_;
  FormLayout layout_;
  std::vector<std::unique_ptr<Control>> controls_;
  MainMenu* menu_ = nullptr;
  std::string helpFile_;
  ModalResult modalResult_ = mrNone;
  FormPeer* peer_ = nullptr;
};

// The menu bar: menus of items; "-" as a caption is a separator line.
struct MenuItem {
  std::string name;
  std::string caption;
  std::function<void()> onClick;
  int commandId = 0;  // the window's command number for the item; 0 for menus and separators
  std::vector<MenuItem> items;

  bool IsSeparator() const { return caption == "-"; }
};

struct MainMenu {
  std::vector<MenuItem> menus;
  // Assigns command numbers: menu m (from 1), item i (from 1, separators not counted) gets m*100+i.
  void NumberItems();
  const MenuItem* FindItem(const std::string& name) const;
  const MenuItem* FindCommand(int commandId) const;
};

}  // namespace platform
