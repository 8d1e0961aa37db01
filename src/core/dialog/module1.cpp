#include "core/dialog/module1.h"

namespace card::Module1 {

DialogPara& dialog_para()
{
    static DialogPara table;
    return table;
}

} // namespace card::Module1
