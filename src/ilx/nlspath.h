// The NLSPATH text kept by the services.
#pragma once

namespace ilx {

// Forgets the "NLSPATH=..." text handed to the environment by
// ilx_set_nlspath / ilx_prepend_nlspath, leaving the variable's value in
// place (the environment keeps a copy of its own). For the services'
// tear-down.
void nlspathRelease();

}  // namespace ilx
