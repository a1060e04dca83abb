#include "actions/TemplAction.h"

template class TemplAction<float>;
template class TemplAction<glm::vec2>;
template class TemplAction<char>;
template class TemplAction<bool>;
template class TemplAction<std::string>;
