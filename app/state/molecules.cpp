#include "app/state/molecules.h"

MoleculeStore MOLECULES;
