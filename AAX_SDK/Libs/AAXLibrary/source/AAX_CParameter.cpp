// The value types the system instantiates, compiled once here.
#include "AAX_CParameter.h"

template class AAX_CParameter<bool>;
template class AAX_CParameter<int32_t>;
template class AAX_CParameter<double>;
