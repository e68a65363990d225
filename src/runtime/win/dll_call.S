/* uint64_t brindor_call_checked(void* function, const uint32_t* words, uint32_t count,
 *                               int32_t* stack_difference)   -- cdecl, i686 */
    .text
    .globl _brindor_call_checked
_brindor_call_checked:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi        /* words */
    movl 16(%ebp), %ecx        /* count */
    movl %esp, %edi            /* the stack pointer before the arguments */
    leal (%esi,%ecx,4), %ebx
1:  testl %ecx, %ecx
    jz 2f
    subl $4, %ebx
    pushl (%ebx)
    decl %ecx
    jmp 1b
2:  call *8(%ebp)
    movl %esp, %ecx
    subl %edi, %ecx            /* non-zero: the callee popped more or less than was pushed */
    movl %edi, %esp
    movl 20(%ebp), %ebx
    movl %ecx, (%ebx)
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
