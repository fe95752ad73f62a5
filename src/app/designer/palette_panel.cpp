#include "app/designer/palette_panel.h"

#include "platform/qt_text.h"

#include <QLabel>
#include <QScrollArea>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

TPalettePanel::TPalettePanel(TPaletteState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
    setObjectName("Palette");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    tabs_ = new QTabBar;
    tabs_->setObjectName("PaletteTabs");
    tabs_->addTab("Data Palette");
    tabs_->addTab("Object Palette");
    tabs_->setExpanding(true);
    // Both tabs stay in sight however narrow the panel.
    tabs_->setUsesScrollButtons(false);
    tabs_->setElideMode(Qt::ElideRight);
    tabs_->setFocusPolicy(Qt::NoFocus);
    column->addWidget(tabs_);
    caption_ = new QLabel("Data Palette");
    caption_->setObjectName("PaletteCaption");
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFrameShape(QFrame::Panel);
    caption_->setFrameShadow(QFrame::Sunken);
    column->addWidget(caption_);
    scroll_ = new QScrollArea;
    scroll_->setWidgetResizable(true);
    scroll_->setFocusPolicy(Qt::NoFocus);
    buttonPanel_ = new QWidget;
    buttonColumn_ = new QVBoxLayout(buttonPanel_);
    buttonColumn_->setContentsMargins(0, 0, 0, 0);
    buttonColumn_->setSpacing(1);
    buttonColumn_->addStretch();
    scroll_->setWidget(buttonPanel_);
    column->addWidget(scroll_, 1);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int) { Rebuild(); });
}

void TPalettePanel::SetPalettes(std::vector<TLayoutRecord> data,
                                std::vector<TLayoutRecord> objects) {
    data_ = std::move(data);
    objects_ = std::move(objects);
    Rebuild();
}

bool TPalettePanel::ShowsObjects() const {
    return tabs_->currentIndex() == 1;
}

const std::vector<TLayoutRecord>& TPalettePanel::Shown() const {
    return ShowsObjects() ? objects_ : data_;
}

void TPalettePanel::Rebuild() {
    caption_->setText(tabs_->tabText(tabs_->currentIndex()));
    for (QToolButton* b : buttons_)
        delete b;
    buttons_.clear();
    const bool objects = ShowsObjects();
    int n = 0;
    for (const TLayoutRecord& item : Shown()) {
        if (n++ == kMaxButtons)
            break;
        auto* b = new QToolButton;
        b->setText(ToQString(item.Caption));
        b->setObjectName(ToQString(item.Caption));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        const int position = item.Position;
        connect(b, &QToolButton::clicked, this, [this, objects, position] {
            state_.Toggle(objects, position);
            Refresh();
            if (OnToggled)
                OnToggled();
        });
        buttonColumn_->insertWidget(buttonColumn_->count() - 1, b);
        buttons_.push_back(b);
    }
    Refresh();
}

void TPalettePanel::Refresh() {
    const bool objects = ShowsObjects();
    const auto& shown = Shown();
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setChecked(state_.IsPressed(objects, shown[i].Position));
}

QToolButton* TPalettePanel::Button(const QString& caption) const {
    for (QToolButton* b : buttons_)
        if (b->text() == caption)
            return b;
    return nullptr;
}

} // namespace tessaly
