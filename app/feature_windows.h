// The feature window behind each button of the start window.
#pragma once

class QWidget;

namespace lumoset {

// Builds the feature window of start-window button 1 to 4, owned by `owner`, not yet shown.
QWidget* createFeatureWindow(int button, QWidget* owner);

}  // namespace lumoset
