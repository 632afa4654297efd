# The two sample resources, stored under Japanese (language 1041) with type "CUSTOM":
# 101, a 28-byte binary record, and 102, 136 bytes of code page 932 text.
set(BX_SAMPLE_RESOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}")

# bx_add_sample_resources(<target>): builds both into <target>.
function(bx_add_sample_resources target)
  bx_add_resource(${target} ID 101 TYPE CUSTOM LANGUAGE 1041
                  FILE "${BX_SAMPLE_RESOURCE_DIR}/101.bin")
  bx_add_resource(${target} ID 102 TYPE CUSTOM LANGUAGE 1041
                  FILE "${BX_SAMPLE_RESOURCE_DIR}/102.txt")
endfunction()
