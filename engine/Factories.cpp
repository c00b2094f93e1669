#include "Factories.h"

#include "DownItem.h"
#include "Fetchkeeper.h"
#include "PrjMng.h"

FK_DEFINE_FACTORIES(FETCHKEEPER, CFetchkeeper)
FK_DEFINE_FACTORIES(DOWNITEM, CDownItem)
FK_DEFINE_FACTORIES(PRJMNG, CPrjMng)
