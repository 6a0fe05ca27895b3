// The program of a link check: it runs nothing; linking it is the check.
int main()
{
    return 0;
}
