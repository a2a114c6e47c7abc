// Resource ids of the administrator number dialog, Administrator Mode page, Account Track and Change Admin No. dialogs.
#pragma once
