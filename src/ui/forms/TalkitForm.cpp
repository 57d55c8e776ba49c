#include "forms/TalkitForm.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "forms/FormFields.h"
#include "forms/FormGroups.h"
#include "forms/FormImages.h"
#include "forms/FormLabels.h"
#include "forms/FormLists.h"
#include "runs/CompilingWindow.h"
#include "runs/SettingsFile.h"
#include "shell/TalshellForm.h"
#include "support/Interaction.h"
#include "support/QtStrings.h"

namespace tal {

namespace {

QRect RectOf(const LayoutRect& rect, QPoint origin) {
  return QRect(rect.left - origin.x(), rect.top - origin.y(), std::max(0, rect.width), std::max(0, rect.height));
}

Qt::Alignment AlignmentOf(Alignment alignment) {
  switch (alignment) {
    case Alignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::Left: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

UnitSystem UnitsOfSettings() { return CurrentSettings().units == 2 ? UnitSystem::Secondary : UnitSystem::Primary; }

// The rectangles of an item that lie on its band (not inside a frame) and show.
std::vector<LayoutRect> BandRects(const ItemGeometry& g) {
  std::vector<LayoutRect> rects;
  if (g.labelShown) rects.push_back(g.label);
  if (g.hasField) rects.push_back(g.field);
  if (g.hasUnit) rects.push_back(g.unit);
  if (g.hasButton) rects.push_back(g.button);
  return rects;
}

}  // namespace

TTALKITForm::TTALKITForm(TTALSHELLFORM* shell)
    : TChildForm(shell, KindCode::TalkitForm), pictures_(std::make_shared<FormPictures>()), metrics_(pictures_) {
  auto* fill = new QVBoxLayout(this);
  fill->setContentsMargins(0, 0, 0, 0);
  scroll_ = new QScrollArea(this);
  scroll_->setWidgetResizable(false);
  scroll_->setFrameShape(QFrame::NoFrame);
  fill->addWidget(scroll_);
  // The area lies on a canvas that can hold blank room above it (KeepInPlace).
  canvas_ = new QWidget;
  area_ = new QWidget(canvas_);
  area_->setAutoFillBackground(true);
  scroll_->setWidget(canvas_);
  connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { BuildBandsInView(); });
  // The form sees every key before its controls do.
  qApp->installEventFilter(this);
}

TTALKITForm::~TTALKITForm() {
  qApp->removeEventFilter(this);
  // The controls go now, while the form is whole: a field that loses the focus as it goes calls
  // back into the form, which then only notes that it is closing.
  closing_ = true;
  delete scroll_;
}

// ---- Reading -------------------------------------------------------------------------------------

bool TTALKITForm::ReadDeck(const std::string& fileName) {
  setFileName(fileName);
  setCaption(fileName);
  BusyScope busy;
  // The progress window counts the lines read ("Reading line" and the count).
  TCompiling& progress = CompilingWindow();
  progress.show();
  ReadOptions options;
  options.units = UnitsOfSettings();
  options.progress = [&progress](int lines) { progress.Update(lines); };
  ReadResult result = tal::ReadDeck(fileName, options);
  progress.hide();
  outcome_ = result.outcome;
  if (!KeepsForm(outcome_)) return false;
  model_ = std::move(result.form);
  // Drawing stays frozen while the controls are made: the window is not shown yet.
  setUpdatesEnabled(false);
  layout_ = FormLayout::Build(model_, metrics_, outcome_ == ReadOutcome::Complete);
  BuildControls();
  model_.SetGroupObserver([this](std::size_t group, bool visible) { GroupSwitched(group, visible); });
  setUpdatesEnabled(true);
  return true;
}

void TTALKITForm::PlaceWindow() {
  QMdiSubWindow* window = subWindow();
  if (!window) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  FormWindowPlacement placement =
      PlaceFormWindow(available.width(), available.height(), layout_.widestGroup(), layout_.charWidth());
  if (placement.maximised) {
    window->showMaximized();
    return;
  }
  window->showNormal();
  int width = window->width();
  if (placement.clientWidth >= 0) width = placement.clientWidth + (window->width() - this->width());
  int height = placement.height;
  // The frame's area may be smaller than the screen: the window stays inside it.
  if (QMdiArea* mdi = window->mdiArea()) height = std::min(height, mdi->viewport()->height());
  window->setGeometry(placement.left, placement.top, width, std::max(height, 100));
  if (shell()) shell()->KeepInsideWorkspace(window);
}

// ---- Building the controls ---------------------------------------------------------------------------

void TTALKITForm::BuildControls() {
  const std::size_t n = model_.items.size();
  if (model_.background) {
    // The whole client area takes the colour, also where the form's controls end.
    for (QWidget* surface : {static_cast<QWidget*>(area_), scroll_->viewport()}) {
      QPalette palette = surface->palette();
      palette.setColor(QPalette::Window, ColourOf(*model_.background));
      surface->setPalette(palette);
      surface->setAutoFillBackground(true);
    }
  }
  controls_.assign(n, ItemControls{});
  bandOfItem_.assign(n, 0);
  bands_.clear();
  // Every group frame starts a band; the first band holds what comes before the first frame.
  for (std::size_t i = 0; i < n; ++i) {
    if (i == 0 || IsGroupKind(model_.items[i].kind)) bands_.push_back(Band{nullptr, i, 0, {}});
    bandOfItem_[i] = static_cast<int>(bands_.size() - 1);
  }
  for (std::size_t b = 0; b < bands_.size(); ++b) {
    std::size_t end = b + 1 < bands_.size() ? bands_[b + 1].firstItem : n;
    int top = INT_MAX, bottom = 0, right = 0;
    for (std::size_t i = bands_[b].firstItem; i < end; ++i) {
      const ItemGeometry& g = layout_.item(i);
      if (g.inFrame) continue;
      for (const LayoutRect& rect : BandRects(g)) {
        top = std::min(top, rect.top);
        bottom = std::max(bottom, rect.bottom());
        right = std::max(right, rect.right());
      }
    }
    if (top == INT_MAX) top = bottom = 0;
    // Fields drawn taller than their text (FitToStyle) reach a few pixels past their rectangles.
    constexpr int slack = 8;
    top = std::max(0, top - slack);
    bottom += slack;
    bands_[b].baseTop = top;
    bands_[b].widget = new QWidget(area_);
    bands_[b].widget->setGeometry(0, top, right, bottom - top);
    // Most controls are drawn in slot 2: they take it from their band or frame.
    bands_[b].slot = model_.StyleOf(model_.items[bands_[b].firstItem]).font(2);
    ApplySlot(*bands_[b].widget, bands_[b].slot);
  }
  builtBands_ = 0;
  for (Band& band : bands_) FitBand(band);  // no controls yet: hidden
  PlaceBands();
  ResizeArea();
  BuildBandsInView();
}

void TTALKITForm::BuildBand(std::size_t b) {
  const std::size_t end = b + 1 < bands_.size() ? bands_[b + 1].firstItem : model_.items.size();
  for (std::size_t i = bands_[b].firstItem; i < end; ++i) {
    QPoint origin = layout_.item(i).inFrame ? QPoint(0, 0) : QPoint(0, bands_[b].baseTop);
    BuildItem(i, ParentOf(i), origin);
    ShowFieldText(i);
    if (controls_[i].frame) controls_[i].frame->setVisible(model_.items[i].group.visible);
  }
  for (std::size_t i = bands_[b].firstItem; i < end; ++i) ShowChoiceState(i);
  FitBand(bands_[b]);
}

void TTALKITForm::BuildBandsThrough(std::size_t band) const {
  auto* self = const_cast<TTALKITForm*>(this);
  while (builtBands_ <= band && builtBands_ < bands_.size()) self->BuildBand(self->builtBands_++);
}

void TTALKITForm::BuildAllBands() const {
  if (!bands_.empty()) BuildBandsThrough(bands_.size() - 1);
}

void TTALKITForm::BuildBandsInView() {
  // Before the window is first sized its view is tiny: the screen's height is what it will show.
  int viewHeight = scroll_->viewport()->height();
  if (!isVisible()) {
    QScreen* screen = QGuiApplication::primaryScreen();
    viewHeight = std::max(viewHeight, screen ? screen->availableGeometry().height() : 768);
  }
  const int reach = scroll_->verticalScrollBar()->value() - topRoom_ + 2 * viewHeight;
  while (builtBands_ < bands_.size() && bands_[builtBands_].widget->y() <= reach) BuildBand(builtBands_++);
}

const TTALKITForm::ItemControls& TTALKITForm::Built(std::size_t item) const {
  if (item < bandOfItem_.size()) BuildBandsThrough(static_cast<std::size_t>(bandOfItem_[item]));
  return controls_.at(item);
}

QWidget* TTALKITForm::ParentOf(std::size_t index) const {
  if (layout_.item(index).inFrame) {
    auto frame = static_cast<std::size_t>(model_.items[index].enclosingGroup);
    if (controls_[frame].frame) return controls_[frame].frame;
  }
  return bands_[static_cast<std::size_t>(bandOfItem_[index])].widget;
}

const FontSlot& TTALKITForm::InheritedSlot(std::size_t index) const {
  if (layout_.item(index).inFrame) {
    auto frame = static_cast<std::size_t>(model_.items[index].enclosingGroup);
    if (controls_[frame].frame) return model_.StyleOf(model_.items[frame]).font(2);
  }
  return bands_[static_cast<std::size_t>(bandOfItem_[index])].slot;
}

void TTALKITForm::BuildItem(std::size_t i, QWidget* parent, QPoint origin) {
  const FormItem& item = model_.items[i];
  const FormStyle& style = model_.StyleOf(item);
  const ItemGeometry& g = layout_.item(i);
  ItemControls& c = controls_[i];
  const FontSlot* inherited = &InheritedSlot(i);
  auto makeLabel = [&](const FontSlot& font, const std::string& text) {
    c.label = new TDescriptor(parent, font, ToQt(text), g.labelInLayout, inherited);
    c.label->setGeometry(RectOf(g.label, origin));
  };
  switch (item.kind) {
    case FormItemKind::Text: {
      makeLabel(style.font(1), item.label);
      c.label->setAlignment(AlignmentOf(g.labelAlignment));
      if (item.textField.present) {
        auto* input = new TInput(this, i, false, parent);
        ApplySlot(*input, style.font(1), inherited);
        // An empty initial text leaves the length open.
        if (item.textField.maxLength > 0) input->setMaxLength(item.textField.maxLength);
        input->setGeometry(RectOf(g.field, origin));
        c.field = input;
      }
      break;
    }
    case FormItemKind::Numeric: {
      makeLabel(style.font(2), item.label);
      auto* input = new TInput(this, i, true, parent);
      ApplySlot(*input, style.font(2), inherited);
      input->setMaxLength(NumericField::MaxLength);
      input->setGeometry(RectOf(g.field, origin));
      c.field = input;
      c.unit = new TDescriptor(parent, style.font(3), ToQt(model_.UnitCaption(i)), true, inherited);
      c.unit->setGeometry(RectOf(g.unit, origin));
      ShowUnitCaption(i);  // the units may have been switched since the layout was made
      break;
    }
    case FormItemKind::List: {
      if (!item.list.visible()) break;  // a hidden list field shows nothing
      makeLabel(style.font(2), item.label);
      auto* list = new TFileInput(this, i, parent);
      ApplySlot(*list, style.font(2), inherited);
      QStringList rows;
      for (const std::string& choice : model_.ListChoices(i)) rows.append(ToQt(choice));
      list->addItems(rows);
      list->setGeometry(RectOf(g.field, origin));
      c.field = list;
      break;
    }
    case FormItemKind::File: {
      makeLabel(style.font(2), item.label);
      auto* field = new TOpenFile(this, i, parent);
      ApplySlot(*field, style.font(2), inherited);
      field->setGeometry(RectOf(g.field, origin));
      c.field = field;
      break;
    }
    case FormItemKind::Picture:
    case FormItemKind::AppLinkPicture: {
      bool link = item.kind == FormItemKind::AppLinkPicture;
      auto* picture = new TmyImage(this, i, link ? std::max(1, item.picture.application) : 0, parent);
      picture->setPixmap(QPixmap::fromImage(pictures_->Picture(item.picture)));
      picture->setGeometry(RectOf(g.field, origin));
      if (link) picture->setToolTip(ToQt(item.picture.argument));
      c.field = picture;
      break;
    }
    case FormItemKind::Group:
    case FormItemKind::CheckBoxGroup:
    case FormItemKind::RadioGroup: {
      auto* frame = new Tmygroupbox(i, ToQt(item.group.caption), parent);
      // The caption is drawn in slot 1; the frame passes slot 2 on to its items and buttons.
      ApplySlot(*frame, style.font(2), inherited);
      frame->setCaptionStyle(FontOfSlot(style.font(1)), ColourOf(style.font(1).colour));
      frame->setGeometry(RectOf(g.field, origin));
      c.frame = frame;
      bool radio = item.kind == FormItemKind::RadioGroup;
      for (std::size_t k = 0; k < item.group.choices.size(); ++k) {
        QString caption = ToQt(item.group.choices[k].caption);
        // Drawn in slot 2, which they take from their frame.
        QAbstractButton* button = radio ? static_cast<QAbstractButton*>(new TGRadioButton(this, i, k, caption, frame))
                                        : static_cast<QAbstractButton*>(new TGCheckBox(this, i, k, caption, frame));
        button->setGeometry(RectOf(g.choices[k], QPoint(0, 0)));
        c.choices.push_back(button);
      }
      break;
    }
  }
  FitToStyle(c);
  if (g.hasButton) {
    c.button = new TAppButton(this, i, item.application, item.applicationArgument, parent);
    c.button->setFocusPolicy(Qt::NoFocus);
    c.button->setGeometry(RectOf(g.button, origin));
  }
  if (c.field && c.field->focusPolicy() != Qt::NoFocus && item.kind != FormItemKind::Picture &&
      item.kind != FormItemKind::AppLinkPicture)
    tabOrder_.push_back(c.field);
  for (QAbstractButton* choice : c.choices) tabOrder_.push_back(choice);
}

// The layout gives a field the height of its font's text; the style's frame and margins need
// more, or the text is clipped (a drop-down list loses its descenders). The field grows about
// the middle of its label's line (the layout leaves room for that), and the field and unit are
// centred on that line.
void TTALKITForm::FitToStyle(ItemControls& c) {
  if (!c.field || !(qobject_cast<QLineEdit*>(c.field) || qobject_cast<QComboBox*>(c.field))) return;
  QRect field = c.field->geometry();
  const bool labelled = c.label && c.label->height() > 0;
  const int middle = labelled ? c.label->y() + c.label->height() / 2 : field.top() + field.height() / 2;
  const int needed = StyleHeight(*c.field);
  field.setHeight(std::max(field.height(), needed));
  field.moveTop(middle - field.height() / 2);
  c.field->setGeometry(field);
  if (c.unit && c.unit->height() > 0) c.unit->move(c.unit->x(), middle - c.unit->height() / 2);
}

// The height an edit field or drop-down list takes in the style depends only on its class and
// font (a list's rows change its width only): asked once for each.
int TTALKITForm::StyleHeight(QWidget& field) {
  const QString key = QString::fromLatin1(field.metaObject()->className()) + '/' + field.font().key();
  auto found = styleHeights_.find(key);
  if (found == styleHeights_.end()) found = styleHeights_.emplace(key, field.sizeHint().height()).first;
  return found->second;
}

void TTALKITForm::KeepInPlace(QWidget* clicked, const std::function<void()>& change) {
  QWidget* view = scroll_->viewport();
  const int before = clicked->mapTo(view, QPoint(0, 0)).y();
  topRoom_ = 0;
  change();
  ResizeArea();
  const int moved = clicked->mapTo(view, QPoint(0, 0)).y() - before;
  if (moved == 0) return;
  QScrollBar* bar = scroll_->verticalScrollBar();
  int wanted = bar->value() + moved;
  if (wanted < 0) {  // the form cannot scroll above its top: blank room above it instead
    topRoom_ = -wanted;
    wanted = 0;
    ResizeArea();
  }
  // The form may end too soon to scroll that far: the canvas grows at its bottom.
  const int reach = wanted + view->height();
  if (canvas_->height() < reach) canvas_->resize(canvas_->width(), reach);
  bar->setMaximum(std::max(bar->maximum(), wanted));
  bar->setValue(wanted);
}

// ---- Group switching ---------------------------------------------------------------------------------

void TTALKITForm::GroupSwitched(std::size_t groupItem, bool visible) {
  if (Tmygroupbox* frame = controls_[groupItem].frame) frame->setVisible(visible);
  FitBand(bands_[static_cast<std::size_t>(bandOfItem_[groupItem])]);
  PlaceBands();
  ResizeArea();
  BuildBandsInView();  // bands below a frame switched off move up into the view
}

// A band moved up by a switched-off frame reaches over the band above it. It takes the mouse only
// where it shows something, so the controls of the band above stay within reach; a band with
// nothing to show is hidden.
void TTALKITForm::FitBand(Band& band) {
  QRect shown = band.widget->childrenRect();
  if (shown.isEmpty()) {
    band.widget->hide();
    return;
  }
  band.widget->setMask(QRegion(shown));
  band.widget->show();
}

void TTALKITForm::PlaceBands() {
  int shift = 0;
  for (const Band& band : bands_) {
    const FormItem& first = model_.items[band.firstItem];
    // A switched-off frame moves up by its height, and everything below it with it.
    if (IsGroupKind(first.kind) && !first.group.visible) shift -= layout_.item(band.firstItem).field.height;
    if (band.widget->y() != band.baseTop + shift) band.widget->move(0, band.baseTop + shift);
  }
}

void TTALKITForm::ResizeArea() {
  LayoutSize extent = layout_.Extent(model_);
  area_->resize(extent.width, extent.height);
  area_->move(0, topRoom_);
  canvas_->resize(extent.width, extent.height + topRoom_);
}

// ---- Showing the model's values ----------------------------------------------------------------------

void TTALKITForm::ShowFieldTexts() {
  for (std::size_t i = 0; i < model_.items.size(); ++i) ShowFieldText(i);
}

void TTALKITForm::ShowFieldText(std::size_t i) {
  const FormItem& item = model_.items[i];
  QWidget* field = controls_[i].field;
  if (!field) return;
  switch (item.kind) {
    case FormItemKind::Text:
      if (auto* input = qobject_cast<TInput*>(field)) {
        input->setText(ToQt(item.textField.text));
        input->home(false);
      }
      break;
    case FormItemKind::Numeric:
      if (auto* input = qobject_cast<TInput*>(field)) {
        QString text = ToQt(item.numeric.text);
        if (input->text() != text) {
          input->setText(text);
          input->home(false);
        }
      }
      break;
    case FormItemKind::List:
      if (auto* list = qobject_cast<TFileInput*>(field)) list->setCurrentIndex(item.list.selectedRow);
      break;
    case FormItemKind::File:
      if (auto* file = qobject_cast<TOpenFile*>(field)) {
        // The beginning of a long name shows, as in any edit field that has not been typed in.
        file->setText(ToQt(item.file.fileName));
        file->home(false);
      }
      break;
    default: break;
  }
}

void TTALKITForm::ShowChoiceStates() {
  for (std::size_t i = 0; i < model_.items.size(); ++i) ShowChoiceState(i);
}

void TTALKITForm::ShowChoiceState(std::size_t i) {
  const auto& choices = model_.items[i].group.choices;
  for (std::size_t k = 0; k < controls_[i].choices.size() && k < choices.size(); ++k)
    controls_[i].choices[k]->setChecked(choices[k].checked);
}

void TTALKITForm::ShowUnitCaptions() {
  for (std::size_t i = 0; i < model_.items.size(); ++i) ShowUnitCaption(i);
}

void TTALKITForm::ShowUnitCaption(std::size_t i) {
  TDescriptor* unit = controls_[i].unit;
  if (!unit) return;
  const std::string& caption = model_.UnitCaption(i);
  unit->setText(ToQt(caption));
  unit->resize(metrics_.TextWidth(unit->slot(), caption), unit->height());
}

// ---- Controls of an item ------------------------------------------------------------------------------

TDescriptor* TTALKITForm::labelOf(std::size_t item) const { return Built(item).label; }
QWidget* TTALKITForm::fieldOf(std::size_t item) const { return Built(item).field; }
TDescriptor* TTALKITForm::unitOf(std::size_t item) const { return Built(item).unit; }
TAppButton* TTALKITForm::buttonOf(std::size_t item) const { return Built(item).button; }
Tmygroupbox* TTALKITForm::frameOf(std::size_t item) const { return Built(item).frame; }

QAbstractButton* TTALKITForm::choiceOf(std::size_t item, std::size_t choice) const {
  const auto& choices = Built(item).choices;
  return choice < choices.size() ? choices[choice] : nullptr;
}

QPoint TTALKITForm::PositionOnArea(const QWidget* control) const { return control->mapTo(area_, QPoint(0, 0)); }

bool TTALKITForm::ShownOnArea(const QWidget* control) const { return control->isVisibleTo(area_); }

std::vector<QWidget*> TTALKITForm::FocusOrder() const {
  BuildAllBands();
  return BuiltFocusOrder();
}

std::vector<QWidget*> TTALKITForm::BuiltFocusOrder() const {
  std::vector<QWidget*> order;
  for (QWidget* control : tabOrder_)
    if (control->isVisibleTo(area_) && control->isEnabled()) order.push_back(control);
  return order;
}

}  // namespace tal
