// Resource ids of the help and address-book import formats.
#pragma once
