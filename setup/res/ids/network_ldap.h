// Resource ids of the Network Setting and LDAP Setting pages.
#pragma once
