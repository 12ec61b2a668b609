#include "memtable/ztrMasterDataLink.h"

#include "platform/DataSource.h"

void TztrMasterDataLink::RecordChanged(TField *field)
{
    const TDataSetState state = DataSource()->State();
    if ((state == dsEdit || state == dsInsert) && !field)
        return;
    TMasterDataLink::RecordChanged(field);
}
